#pragma once
// A simulated circuit board: each component pin mapped to the circuit the probe sees
// there. The known-good unit and a unit under test with a few faults.

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/sim/circuit.h"

namespace orv::sim {

struct BoardPin {
    std::string component;
    std::string pin;
};

// A copyable value: component/pin -> circuit, in board order.
struct SimBoard {
    std::map<std::pair<std::string, std::string>, Circuit> circuits;
    std::vector<BoardPin> pins;
};

SimBoard MakeKnownGoodBoard();
SimBoard MakeBoardUnderTest();  // the same board with a few faults
std::vector<BoardPin> ListPins(const SimBoard& board);
// The circuit under the probe at a pin; a pin the board does not list gets a
// deterministic circuit derived from its component and pin names.
Circuit CircuitAt(const SimBoard& board, std::string_view component, std::string_view pin);

}  // namespace orv::sim
