#pragma once
// The simulated instrument seen through the USB transport: the same calls as the real
// driver, answered by the instrument's converter chip.

#include <memory>

#include "link/sim/instrument.h"
#include "link/usb_driver.h"

namespace orv::sim {

// The instrument must outlive the driver.
std::unique_ptr<UsbDriver> MakeSimulatedDriver(Instrument& instrument);

}  // namespace orv::sim
