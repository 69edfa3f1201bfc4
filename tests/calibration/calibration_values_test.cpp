// The calibration's numbers without a window: the multimeter's reply layout, the new
// codes from two lines, the zeroing step, the reading text, the calibration file and the
// automatic run's table.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calibration/auto_run.h"
#include "calibration/calibration_controls.h"
#include "calibration/calibration_values.h"
#include "calibration/dmm_reply.h"

namespace orv {
namespace {

TEST(DmmReplyTest, ReadsTheFixedLayoutAndNothingElse) {
    struct Case {
        const char* reply;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"+1.00000000E+01\n", 10.0},
        {"-1.23456789E-03\n", -0.00123456789},
        {"+1.00000000E+01\r\n", 10.0},
        {"+2.50000000E-01", 0.25},
        {"+1.00000000E012\n", 1e12},  // the sign of the exponent may be left out
        {"+1.5\n", 1.5},              // shorter than the exponent field: sign x mantissa
        {"-0.12345678\n", -0.12345678},
        {"", std::nullopt},
        {"\n", std::nullopt},
        {"hello\n", std::nullopt},
        {"-113,\"Undefined header\"\n", std::nullopt},
        {"+1.00000000E+\n", std::nullopt},  // cut inside the exponent
        {"+1.00000000E\n", std::nullopt},
        {"+1.0000000XE+01\n", std::nullopt},
        {"1.00000000E+01\n", std::nullopt},  // no sign
        {"+1.00000000E+01,+1.00000000E+01\n", std::nullopt},
        {"+1.00000000E+01\n+2.00000000E+01\n", std::nullopt},
        {"+9.90000000E+37\n", std::nullopt},  // overload
        {"+.\n", std::nullopt},
        {"+1.2.3\n", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        const std::optional<double> value = ParseDmmReply(c.reply);
        ASSERT_EQ(value.has_value(), c.value.has_value());
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *c.value);
        }
    }
}

Measurements PairsOnLines(double perVolt10, double zero10, double perVolt1, double zero1) {
    Measurements pairs{};
    const auto at = [](double perVolt, double zero, std::int64_t code) {
        return MeasurementPair{code, (static_cast<double>(code) - zero) / perVolt};
    };
    pairs[kLevelPlus10] = at(perVolt10, zero10, 28945);
    pairs[kLevelMinus10] = at(perVolt10, zero10, -27015);
    pairs[kLevelPlus1] = at(perVolt1, zero1, 29550);
    pairs[kLevelMinus1] = at(perVolt1, zero1, -27575);
    return pairs;
}

TEST(CalculateValuesTest, CodesComeFromTheTwoLines) {
    DacCodeSet codes = kDefaultDacCodes;
    std::string refusal;
    ASSERT_TRUE(CalculateValues(PairsOnLines(2750.0, 1300.0, 2800.0, 1250.0), codes, refusal));
    EXPECT_EQ(codes.dac[kLevelPlus10], 28800);
    EXPECT_EQ(codes.dac[kLevelMinus10], -26200);
    EXPECT_EQ(codes.dac[kLevelPlus1], 4050);
    EXPECT_EQ(codes.dac[kLevelMinus1], -1550);
    EXPECT_EQ(codes.dac[kLevelZero], 1250);  // from the +-1 V line
    EXPECT_EQ(codes.dcBias10, kDefaultDacCodes.dcBias10);
}

TEST(CalculateValuesTest, RefusesWhatWouldDivideByZeroOrLeaveTheDac) {
    struct Case {
        const char* name;
        Level level;
        double reading;
        const char* refusal;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Measurements good = PairsOnLines(2750.0, 1300.0, 2800.0, 1250.0);
    const Case cases[] = {
        {"equal at 10 V", kLevelPlus10, good[kLevelMinus10].reading,
         "the readings at +10V and -10V are equal"},
        {"equal at 1 V", kLevelMinus1, good[kLevelPlus1].reading,
         "the readings at +1V and -1V are equal"},
        {"not a number", kLevelPlus1, nan, "the readings at +1V and -1V are not numbers"},
        {"infinite", kLevelMinus10, -std::numeric_limits<double>::infinity(),
         "the readings at +10V and -10V are not numbers"},
        {"almost equal", kLevelPlus10, good[kLevelMinus10].reading + 1e-9,
         "a code falls outside the DAC's range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Measurements pairs = good;
        pairs[c.level].reading = c.reading;
        DacCodeSet codes = kDefaultDacCodes;
        std::string refusal;
        EXPECT_FALSE(CalculateValues(pairs, codes, refusal));
        EXPECT_EQ(refusal, c.refusal);
        EXPECT_EQ(codes.dac, kDefaultDacCodes.dac);
    }
}

TEST(ZeroingTest, StepsByTheReading) {
    const std::pair<double, int> cases[] = {
        {0.0021, -32}, {0.002, -8}, {0.001, -8}, {0.0009, -1},  {0.0, -1},
        {-0.0001, 1},  {-0.001, 8}, {-0.002, 8}, {-0.0021, 32}, {-5.0, 32},
    };
    for (const auto& [volts, step] : cases)
        EXPECT_EQ(ZeroingAdjustment(volts), step) << volts;
}

TEST(ReadingTextTest, TenDecimalsWithoutTrailingZeros) {
    EXPECT_EQ(ReadingText(0.5), "0.5");
    EXPECT_EQ(ReadingText(10.0), "10");
    EXPECT_EQ(ReadingText(-0.00123456789), "-0.0012345679");
    EXPECT_EQ(ReadingText(0.0), "0");
    EXPECT_EQ(ReadingText(-1e-12), "0");
}

CalibrationFields SomeFields() {
    CalibrationFields f;
    f.dac = {"28945", "29550", "1110", "-27575", "-27015"};
    f.adc0 = {"62660", "32754", "2848"};
    f.adc1 = {"62818", "32781", "--"};  // what the operator left is what goes in
    f.dcBias = {"1536", "512"};
    return f;
}

TEST(CalibrationFileTest, SmallFamilyBytes) {
    const LocalDateTime when{2026, 12, 9, 14, 5, 31};
    std::array<float, 8> ohms = {50, 100, 200, 500, 1000, 2000, 5000, 10000};
    ohms[1] = 100.5f;  // halves go to the even neighbour
    ohms[2] = 201.5f;
    EXPECT_EQ(CalibrationFileText(SomeFields(), when, ohms, false),
              "Calibration date=09/Dec/2026@14:05:31\r\n"
              "DAC@10V=28945\r\nDAC@1V=29550\r\nDAC@0V=1110\r\nDAC@-1V=-27575\r\n"
              "DAC@-10V=-27015\r\n"
              "ADC0@10V=62660\r\nADC0@0V=32754\r\nADC0@-10V=2848\r\n"
              "ADC1@10V=62818\r\nADC1@0V=32781\r\nADC1@-10V=--\r\n"
              "50ohm=50\r\n100ohm=100\r\n200ohm=202\r\n500ohm=500\r\n1Kohm=1000\r\n"
              "2Kohm=2000\r\n5Kohm=5000\r\n10Kohm=10000\r\n");
}

TEST(CalibrationFileTest, LargeFamilyEndsWithTheDcBiasCodes) {
    const LocalDateTime when{2027, 1, 3, 7, 0, 9};
    const std::string text =
        CalibrationFileText(SomeFields(), when, {50, 100, 200, 500, 1000, 2000, 5000, 10000}, true);
    EXPECT_EQ(text.substr(0, 39), "Calibration date=03/Jan/2027@07:00:09\r\n");
    EXPECT_TRUE(text.ends_with("10Kohm=10000\r\nDCBIAS@10V=1536\r\nDCBIAS@-10V=512\r\n")) << text;
}

TEST(AutoRunTableTest, StepsPressWaitAndSay) {
    using namespace calibration;
    struct Case {
        int step;
        int press;
        int delayMs;
        std::string_view status;
    };
    const Case cases[] = {
        {1, 0, 1000, ": starting calibration"},
        {2, kLoadDefaults, 1000, ": load default values"},
        {3, BlockControl(kLevelPlus10, kBlockSetOutput), 1000, ": set to +10V"},
        {4, kPseudoReadDmm, 1000, ": read DMM"},
        {11, kPseudoStoreResult[kLevelMinus1], 1000, ": store -1V result"},
        {15, kPseudoCalculate, 1000, ": calculate values "},
        {16, BlockControl(kLevelPlus10, kBlockSetOutput), 2000, ": set to +10V"},
        {28, kPseudoCalculate, 2000, ": calculate values "},
        {29, BlockControl(kLevelZero, kBlockSetOutput), 2000, ": setup for zeroing the 0V"},
        {30, kPseudoZeroingPass, 500, ": zeroing in on 0V, pass:"},
        {36, BlockControl(kLevelZero, kBlockCalibrate), 2000, ": 0V cal, store"},
        {41, kStore, 2000, ": store all values"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        const AutoStep step = AutoStepAt(c.step);
        EXPECT_EQ(step.press, c.press);
        EXPECT_EQ(step.delayMs, c.delayMs);
        EXPECT_EQ(step.status, c.status);
    }
    EXPECT_EQ(AutoStepAt(42).press, 0);
}

}  // namespace
}  // namespace orv
