// Any calibration text an instrument may carry: it goes through the EEPROM and the
// calibration file, and the values derived from it are valid gains or the defaults.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "core/event_log.h"
#include "link/calibration.h"
#include "link/sim/instrument.h"
#include "link/sim/simulated_driver.h"

namespace {

char folder[] = "/tmp/orv-fuzz-calibration-XXXXXX";

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The calibration file and the log are written to a working directory of the run's
    // own, removed when the run ends.
    if (mkdtemp(folder) == nullptr || chdir(folder) != 0)
        std::abort();
    std::atexit(RemoveFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orv::Link link;
    auto instrument = orv::sim::MakeInstrument("ORV320", nullptr);
    auto driver = orv::sim::MakeSimulatedDriver(*instrument);
    const orv::CalibrationArea area =
        orv::PackCalibrationText(std::string(reinterpret_cast<const char*>(data), size));
    for (int i = 0; i < orv::kCalibrationWords; ++i) {
        orv::sim::SetEepromWord(*instrument, orv::kCalibrationFirstWord + i, area[i]);
    }
    driver->LoadLibrary();
    driver->Open(0);
    link.driver = driver.get();
    link.state.Connected = true;
    orv::EventLog log;
    orv::LoadCalibration(link, log);
    unlink("log.txt");
    const orv::Calibration& c = link.calibration;
    for (const float gain : {c.Adc0Gain, c.Adc1Gain}) {
        if (!(gain > 0.0f && gain <= 100.0f))
            std::abort();
    }
    if (!(c.DcBiasGain > 0.0f && c.DcBiasGain <= 65535.0f / 20.0f))
        std::abort();
    driver->Close();
    return 0;
}
