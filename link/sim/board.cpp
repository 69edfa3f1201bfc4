#include "link/sim/board.h"

namespace orv::sim {

SimBoard MakeKnownGoodBoard() {
    return {};
}
SimBoard MakeBoardUnderTest() {
    return {};
}
std::vector<BoardPin> ListPins(const SimBoard& board) {
    return board.pins;
}
Circuit CircuitAt(const SimBoard&, std::string_view, std::string_view) {
    return Open();
}

}  // namespace orv::sim
