#pragma once
// Fixtures of the link tests: the link records with a scripted driver, or with the
// simulated instrument in virtual time.

#include <memory>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "core/app_state.h"
#include "core/event_log.h"
#include "link/link_state.h"
#include "link/sim/instrument.h"
#include "scripted_driver.h"
#include "support/log_messages.h"
#include "support/working_dir.h"

namespace orv::test {

class ScriptedLinkTest : public InWorkingDir {
protected:
    void SetUp() override;

    Link link;
    ScriptedDriver driver;
    ui::ScriptedDialogs dialogs;
    EventLog log;
    AppState app;
};

class SimulatedLinkTest : public InWorkingDir {
protected:
    void SetUp() override;
    void TearDown() override;
    // A fresh instrument of `model`, and the same model active in the program.
    void UseModel(const std::string& model);

    // The user connects from the Instrument menu.
    void Connect();
    // One turn of the communications thread, then the top-level loop's service of a
    // reconnection request.
    void Turn();
    // Turns until the link clock has moved on by `ms`.
    void Run(int ms);
    // Turns until `done` holds, for at most `limitMs` of the link clock; the
    // milliseconds it took, or -1.
    template <class Done>
    int RunUntil(Done done, int limitMs) {
        const std::int64_t start = NowMs(link.clock);
        while (!done()) {
            if (NowMs(link.clock) - start > limitMs)
                return -1;
            Turn();
        }
        return static_cast<int>(NowMs(link.clock) - start);
    }
    // The main cycle's take: the newest good frame, if one came since the last take.
    bool TakeFrame(RawFrame& frame);
    // Generator settings as the main cycle applies them, sent at once.
    void ApplySettings(float millivolts, float ohms, float hertz);

    Link link;  // first: the instrument reads its clock
    std::unique_ptr<sim::Instrument> instrument;
    std::unique_ptr<UsbDriver> driver;
    ui::ScriptedDialogs dialogs;
    EventLog log;
    AppState app;
    int reconnections = 0;
};

}  // namespace orv::test
