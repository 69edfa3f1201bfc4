#pragma once
// The calibration each instrument carries in its EEPROM, as the text of a small
// key=value file: copied out into "ORV_cal.txt" at every connection, copied in by the
// calibration window, and turned into the DAC codes and ADC gains the link and the
// scaling use.

#include <string_view>

#include "core/event_log.h"
#include "link/link_state.h"

namespace orv {

inline constexpr std::string_view kCalibrationFileName = "ORV_cal.txt";

// Words 0..128 into the link's EEPROM image; stops at the first failed word.
void ReadInstrumentEeprom(Link& link, EventLog& log);

// The instrument's calibration text into `fileName` (created or emptied). False when
// nothing was read or the file could not be written.
bool ReadCalibrationText(Link& link, std::string_view fileName);

// The first 1792 bytes of `fileName` into the instrument's calibration area, the rest
// of the area cleared.
void WriteCalibrationText(Link& link, std::string_view fileName);

// ReadCalibrationText into "ORV_cal.txt", then every derived value from its points. A
// file that cannot be written is not read either: an older file there may belong to
// another instrument.
void LoadCalibration(Link& link, EventLog& log);

// The points of a calibration file; a missing or empty key reads as 0.
CalibrationPoints ReadCalibrationPoints(std::string_view fileName);

// The derived values, validated, with the log lines of the derivation.
void DeriveCalibration(const CalibrationPoints& points, Calibration& calibration, EventLog& log);

}  // namespace orv
