#include "link/calibration.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "link/generator_tables.h"
#include "link_fixture.h"

namespace orv {
namespace {

using test::FileText;
using test::LogMessages;

class CalibrationTest : public test::ScriptedLinkTest {
protected:
    // The text into the scripted instrument's calibration area.
    void StoreText(const std::string& text) {
        const CalibrationArea area = PackCalibrationText(text);
        for (int i = 0; i < kCalibrationWords; ++i)
            driver.eeprom[kCalibrationFirstWord + i] = area[i];
    }
    std::int64_t CodeFor(int millivolts) const {
        return link.calibration
            .AmplitudeCodes[static_cast<size_t>(PeakVoltageStepIndex(millivolts))];
    }
};

TEST_F(CalibrationTest, WorkedExamples) {
    StoreText(
        "Calibration date=09/Dec/2026@14:05:31\r\nDAC@10V=20000\r\nDAC@1V=3000\r\nDAC@0V=17\r\n"
        "DAC@-1V=1000\r\nDAC@-10V=-20000\r\nADC0@10V=40000\r\nADC0@0V=1\r\nADC0@-10V=20000\r\n"
        "ADC1@10V=62818\r\nADC1@0V=2\r\nADC1@-10V=2744\r\nDCBIAS@10V=1500\r\nDCBIAS@-10V=500\r\n");
    LoadCalibration(link, log);
    const Calibration& c = link.calibration;

    EXPECT_FLOAT_EQ(c.Adc0Gain, 0.001f);
    EXPECT_FLOAT_EQ(c.Adc0Offset, -30000.0f);
    EXPECT_FLOAT_EQ((30000 + c.Adc0Offset) * c.Adc0Gain, 0.0f);
    EXPECT_FLOAT_EQ((20000 + c.Adc0Offset) * c.Adc0Gain, -10.0f);
    EXPECT_FLOAT_EQ((62818 + c.Adc1Offset) * c.Adc1Gain, 10.0f);
    EXPECT_FLOAT_EQ(c.DcBiasGain, 50.0f);
    EXPECT_FLOAT_EQ(c.DcBiasOffset, 1000.0f);

    const std::pair<int, std::int64_t> codes[] = {
        {0, 0},       {200, 400},    {400, 800},    {600, 1200},   {800, 1600},   {1000, 2000},
        {2000, 8000}, {3000, 12000}, {4000, 16000}, {5000, 20000}, {10000, 40000}};
    for (const auto& [millivolts, code] : codes)
        EXPECT_EQ(CodeFor(millivolts), code) << millivolts;
    EXPECT_EQ(c.AmplitudeZeroCode, 17);

    EXPECT_EQ(LogMessages(), std::vector<std::string>{"Calibration loaded: ADC0_gain=0.001000 "
                                                      "ADC1_gain=0.000333 DCBIAS_gain=50.000000"});
    // The file mirrors the instrument's text.
    EXPECT_EQ(FileText("ORV_cal.txt").substr(0, 17), "Calibration date=");
}

TEST_F(CalibrationTest, AnEmptyTextAreaResetsAllThreeGains) {
    // A previous text file must not survive.
    ASSERT_TRUE(CreateNewFile("ORV_cal.txt", "ADC0@10V=40000\r\nADC0@-10V=20000\r\n"));
    LoadCalibration(link, log);
    const Calibration& c = link.calibration;
    EXPECT_EQ(FileText("ORV_cal.txt"), "");
    EXPECT_EQ(std::make_pair(c.Adc0Gain, c.Adc0Offset), std::make_pair(1.0f, 0.0f));
    EXPECT_EQ(std::make_pair(c.Adc1Gain, c.Adc1Offset), std::make_pair(1.0f, 0.0f));
    EXPECT_EQ(std::make_pair(c.DcBiasGain, c.DcBiasOffset), std::make_pair(1.0f, 0.0f));
    EXPECT_EQ(
        LogMessages(),
        (std::vector<std::string>{
            "Warning: ADC0 gain invalid: 0.000000 - resetting to defaults",
            "Warning: ADC1 gain invalid: 0.000000 - resetting to defaults",
            "Warning: DCBIAS gain invalid: 0.000000 - resetting to defaults",
            "Calibration loaded: ADC0_gain=1.000000 ADC1_gain=1.000000 DCBIAS_gain=1.000000"}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(CalibrationTest, GainValidityAndEqualReadings) {
    struct Case {
        const char* name;
        const char* text;
        float adc0Gain;  // the previous values are 0.5 and 7, which never stay
        float adc0Offset;
        float dcBiasGain;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        // The previous instrument's gains must not carry over to one that has none.
        {"equal ADC readings give the defaults, not the previous gain",
         "ADC0@10V=5\r\nADC0@-10V=5\r\nADC1@10V=20\r\nDCBIAS@10V=20\r\n",
         1.0f,
         0.0f,
         1.0f,
         {"Warning: ADC0 gain invalid: 0.000000 - resetting to defaults",
          "Calibration loaded: ADC0_gain=1.000000 ADC1_gain=1.000000 DCBIAS_gain=1.000000"}},
        {"a falling ADC is invalid",
         "ADC0@10V=0\r\nADC0@-10V=20\r\nADC1@10V=20\r\nDCBIAS@10V=20\r\n",
         1.0f,
         0.0f,
         1.0f,
         {"Warning: ADC0 gain invalid: -1.000000 - resetting to defaults",
          "Calibration loaded: ADC0_gain=1.000000 ADC1_gain=1.000000 DCBIAS_gain=1.000000"}},
        // DC bias codes per volt: the usual instrument's 1291 are kept.
        {"the default DC bias codes give a valid gain",
         "ADC0@10V=40000\r\nADC0@-10V=20000\r\nADC1@10V=20\r\nDCBIAS@10V=29198\r\n"
         "DCBIAS@-10V=3367\r\n",
         0.001f,
         -30000.0f,
         1291.55f,
         {"Calibration loaded: ADC0_gain=0.001000 ADC1_gain=1.000000 DCBIAS_gain=1291.550049"}},
        {"a span past a 16-bit DAC is invalid",
         "ADC0@10V=40000\r\nADC0@-10V=20000\r\nADC1@10V=20\r\nDCBIAS@10V=65536\r\n",
         0.001f,
         -30000.0f,
         1.0f,
         {"Warning: DCBIAS gain invalid: 3276.800049 - resetting to defaults",
          "Calibration loaded: ADC0_gain=0.001000 ADC1_gain=1.000000 DCBIAS_gain=1.000000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ReplaceFile("ORV_cal.txt", "t", c.text) == ReplaceResult::Replaced);
        ASSERT_TRUE(ReplaceFile("log.txt", "t", "") == ReplaceResult::Replaced);
        link.calibration.Adc0Gain = 0.5f;
        link.calibration.Adc0Offset = 7.0f;
        DeriveCalibration(ReadCalibrationPoints("ORV_cal.txt"), link.calibration, log);
        EXPECT_FLOAT_EQ(link.calibration.Adc0Gain, c.adc0Gain);
        EXPECT_FLOAT_EQ(link.calibration.Adc0Offset, c.adc0Offset);
        EXPECT_FLOAT_EQ(link.calibration.DcBiasGain, c.dcBiasGain);
        EXPECT_EQ(LogMessages(), c.log);
    }
}

TEST_F(CalibrationTest, WritingTheTextFillsTheWholeArea) {
    driver.eeprom.assign(kEepromWords, 0xFFFF);
    ASSERT_TRUE(CreateNewFile("long.txt", std::string(1792, 'a') + "b"));
    WriteCalibrationText(link, "long.txt");
    EXPECT_EQ(driver.eeprom[127], 0xFFFF);
    EXPECT_EQ(driver.eeprom[128], 'a' | ('a' << 8));
    EXPECT_EQ(driver.eeprom[1023], 'a' | ('a' << 8));
    ReadCalibrationText(link, "back.txt");
    EXPECT_EQ(FileText("back.txt"), std::string(1792, 'a'));

    ASSERT_TRUE(CreateNewFile("short.txt", "ABC"));
    WriteCalibrationText(link, "short.txt");
    EXPECT_EQ(driver.eeprom[128], 'A' | ('B' << 8));
    EXPECT_EQ(driver.eeprom[129], 'C');
    EXPECT_EQ(driver.eeprom[130], 0);
    EXPECT_EQ(driver.eeprom[1023], 0);
}

TEST_F(CalibrationTest, NothingMovesWhileDisconnected) {
    link.state.Connected = false;
    ASSERT_TRUE(CreateNewFile("short.txt", "ABC"));
    WriteCalibrationText(link, "short.txt");
    EXPECT_EQ(driver.eeprom[128], 0);
    EXPECT_FALSE(ReadCalibrationText(link, "back.txt"));
    EXPECT_EQ(FileText("back.txt"), "<missing>");
    LoadCalibration(link, log);
    EXPECT_TRUE(LogMessages().empty());
}

TEST_F(CalibrationTest, EepromImageStopsAtTheFirstFailedWord) {
    for (int i = 0; i < kEepromWords; ++i)
        driver.eeprom[i] = static_cast<std::uint16_t>(i + 1);
    link.state.eeprom.fill(0xAAAA);
    driver.failReadAt = 100;
    ReadInstrumentEeprom(link, log);
    EXPECT_EQ(link.state.eeprom[99], 100);
    EXPECT_EQ(link.state.eeprom[100], 0xAAAA);
    EXPECT_EQ(link.state.eeprom[128], 0xAAAA);
    EXPECT_EQ(LogMessages(),
              std::vector<std::string>{"FT_ReadEE failed at address 100 ftStatus=11"});

    driver.failReadAt = 0xFFFFFFFF;
    ReadInstrumentEeprom(link, log);
    EXPECT_EQ(link.state.eeprom[128], 129);
}

}  // namespace
}  // namespace orv
