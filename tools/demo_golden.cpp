#include "tools/demo_golden.h"

#include <cstdio>

namespace orv::demo {

std::optional<std::vector<GoldenSignature>> MeasureGoldenSignatures(
    const std::vector<sim::BoardPin>& pins, const GeneratorSettings& settings) {
    constexpr const char* kTool = "orv-make-demo-plans";
    SimCapture capture;
    if (!StartSimCapture(capture, kTool))
        return std::nullopt;
    ApplyGenerator(capture, settings);

    std::vector<GoldenSignature> signatures;
    for (const sim::BoardPin& pin : pins) {
        sim::TouchPin(*capture.instrument, pin.component, pin.pin);
        auto golden = CaptureProbed(capture);
        if (!golden) {
            std::fprintf(stderr, "%s: no frame for %s pin %s\n", kTool, pin.component.c_str(),
                         pin.pin.c_str());
            return std::nullopt;
        }
        signatures.push_back(*golden);
    }
    StopSimCapture(capture);
    return signatures;
}

}  // namespace orv::demo
