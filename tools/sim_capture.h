#pragma once
// Signatures measured the way the program measures them: through the link to the
// simulated instrument in virtual time, each frame scaled with the calibration the
// instrument reports. The caller puts the probe where it wants between captures.

#include <memory>
#include <optional>

#include "core/app_state.h"
#include "core/event_log.h"
#include "engine/signature_buffer.h"
#include "link/link_state.h"
#include "link/sim/instrument.h"
#include "link/usb_driver.h"

namespace orv::demo {

struct CapturedSignature {
    SignatureBuffer points;
    int pointCount = 0;
};

// One connected simulated instrument. Not movable: the link holds its mutexes.
struct SimCapture {
    Link link;
    AppState app;
    EventLog log;
    std::unique_ptr<sim::Instrument> instrument;
    std::unique_ptr<UsbDriver> driver;
};

// Connects to a simulated instrument of the default model; false (with a line on
// stderr naming `tool`) when it does not connect. Writes the connection's log and
// calibration file into the working directory, so it belongs in a scratch folder.
bool StartSimCapture(SimCapture& capture, const char* tool);

// Sends the generator settings when they differ from the applied ones.
void ApplyGenerator(SimCapture& capture, const GeneratorSettings& settings);

// Lets the probed signature settle and scales the next frame; nothing when no frame
// came.
std::optional<CapturedSignature> CaptureProbed(SimCapture& capture);

void StopSimCapture(SimCapture& capture);

}  // namespace orv::demo
