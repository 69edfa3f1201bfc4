#pragma once
// The whole program on the simulated instrument for app tests: the real start-up, the
// top-level loop and the communications thread, under a link clock ten times fast, in
// a working directory of the test's own, with scripted dialogs.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "app/program.h"
#include "app/startup.h"
#include "support/working_dir.h"

namespace orv::test {

class RunningProgram : public InWorkingDir {
protected:
    void SetUp() override;

    // Writes the settings file naming the model, then starts the program on a
    // simulated instrument of that model and runs its first pass.
    void Start(const std::string& model, const std::string& moreSettings = {});
    void Pass() { RunTopLevelPass(program_); }
    // Top-level passes until `done` holds or ten seconds of the link clock have passed.
    bool LoopUntil(const std::function<bool()>& done);
    std::uint64_t FramesSent();
    // Passes while the instrument sends `frames` more frames.
    void PassFrames(std::uint64_t frames);
    // Register writes the instrument accepted; polls are not writes.
    std::uint64_t WritesAccepted();
    std::uint32_t InstrumentRegister(int number);
    // Events the window reported earlier are served first, so the click is the one
    // event of its pass.
    void ClickAt(int x, int y);
    // The middle of the connection indicator, in window coordinates.
    void ClickConnectionIndicator();
    void Connect();
    // A control of the main window fires, as a click on it would make it.
    void Press(int control);
    ui::ScriptedDialogs& Dialogs() { return static_cast<ui::ScriptedDialogs&>(*program_.dialogs); }

    Program program_;
    StartOptions options_;
};

}  // namespace orv::test
