// The calibration window through its real widgets, against the simulated instrument and
// the simulated multimeter.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "calibration/auto_run.h"
#include "calibration/calibration_controls.h"
#include "calibration/calibration_layout.h"
#include "core/files.h"
#include "link/calibration.h"
#include "link/commands.h"
#include "link/connection.h"
#include "link/sim/meter_output.h"
#include "ui/controls.h"
#include "ui/sound.h"
#include "wizard_fixture.h"

namespace orv {
namespace {

using namespace calibration;
using test::WizardTest;

int SetOutputOf(int block) {
    return BlockControl(block, kBlockSetOutput);
}

TEST_F(WizardTest, TextsAndSizesOfBothFamilies) {
    struct Case {
        const char* model;
        int height;
        const char* connect;
        const char* dcBiasConnect;  // null: no DC bias blocks
        const char* store;
    };
    const Case cases[] = {
        {"ORV310", 640, "1. Connect ORV310 RED socket to DVM(+) and ORV310 BLACK socket to DVM(-)",
         nullptr,
         "12. Press button below to store calibration values in ORV310. Calibration now "
         "completed."},
        {"ORV311P", 640, "1. Connect ORV311P probe tip to DVM(+) and ORV311P ground lead to DVM(-)",
         nullptr,
         "12. Press button below to store calibration values in ORV311P. Calibration now "
         "completed."},
        {"ORV320", 840, "1. Connect ORV320 RED socket to DVM(+) and ORV320 BLACK socket to DVM(-)",
         "12. Connect ORV320 BLUE socket to DVM(+) and ORV320 BLACK socket to DVM(-)",
         "17. Press button below to store calibration values in ORV320. Calibration now "
         "completed."},
        {"ORV340X", 840,
         "1. Connect ORV340X RED socket to DVM(+) and ORV340 BLACK socket to DVM(-)",
         "12. Connect ORV340X BLUE socket to DVM(+) and ORV340 BLACK socket to DVM(-)",
         "17. Press button below to store calibration values in ORV340X. Calibration now "
         "completed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        UseModel(c.model);
        ConnectInstrument();
        ASSERT_TRUE(Open());
        EXPECT_EQ(ui::WindowTitle(*gui, kWindow), std::string("Calibrate ") + c.model + " ADC/DAC");
        EXPECT_EQ(ui::InnerSize(*gui, kWindow), (ui::Size{630, c.height}));
        EXPECT_EQ(Text(kConnectText), c.connect);
        EXPECT_EQ(Text(kStoreText), c.store);
        EXPECT_EQ(ui::ControlExists(*gui, kDcBiasConnectText), c.dcBiasConnect != nullptr);
        EXPECT_EQ(ui::ControlExists(*gui, BlockControl(6, kBlockCalibrate)),
                  c.dcBiasConnect != nullptr);
        EXPECT_EQ(ui::ControlExists(*gui, kDcBiasFields[1]), c.dcBiasConnect != nullptr);
        if (c.dcBiasConnect != nullptr) {
            EXPECT_EQ(Text(kDcBiasConnectText), c.dcBiasConnect);
        }
        // Everything fits inside the window.
        const ui::Rect panel = ui::ControlRect(*gui, kPanel);
        EXPECT_LE(panel.y + panel.height, c.height);
        ui::CloseWindow(*gui, kWindow);
    }
}

TEST_F(WizardTest, BlocksAndPanelShowTheirTexts) {
    ConnectInstrument();
    ASSERT_TRUE(Open());
    const std::vector<std::vector<std::string>> blocks = {
        {"2. Press button --->", "Set output: +10V", "Adjust to +10.00V using controls below:",
         "3. Press button to calibrate the ADC/DAC to +10.00V --->", "Calibrate +10.00V"},
        {"4. Press button --->", "Set output: +1V", "Adjust to +1.00V using controls below:",
         "5. Press button to calibrate the DAC to +1.00V --->", "Calibrate +1.00V"},
        {"6. Press button --->", "Set output: 0V", "Adjust to 0.00V using controls below:",
         "7. Press button to calibrate the DAC to 0.00V --->", "Calibrate 0.00V"},
        {"8. Press button --->", "Set output: -1V", "Adjust to -1.00V using controls below:",
         "9. Press button to calibrate the DAC to -1.00V --->", "Calibrate -1.00V"},
        {"10. Press button --->", "Set output: -10V", "Adjust to -10.00V using controls below:",
         "11. Press button to calibrate the ADC/DAC to -10.00V --->", "Calibrate -10.00V"},
        {"13. Press button --->", "Set output: +10V", "Adjust to +10.00V using controls below:",
         "14. Press button to calibrate the DCBIAS DAC to +10.00V --->", "Calibrate +10.00V"},
        {"15. Press button --->", "Set output: -10V", "Adjust to -10.00V using controls below:",
         "16. Press button to calibrate the DCBIAS DAC to -10.00V --->", "Calibrate -10.00V"},
    };
    const std::vector<std::string> adjust = {"++Course Adj.", "+Course Adj.", "+Fine Adj.",
                                             "-Fine Adj.",    "-Course Adj.", "--Course Adj."};
    for (int b = 0; b < kBlockCount; ++b) {
        SCOPED_TRACE(b);
        const auto& texts = blocks[static_cast<std::size_t>(b)];
        EXPECT_EQ(Text(BlockControl(b, kBlockStepText)), texts[0]);
        EXPECT_EQ(Text(BlockControl(b, kBlockSetOutput)), texts[1]);
        EXPECT_EQ(Text(BlockControl(b, kBlockAdjustText)), texts[2]);
        EXPECT_EQ(Text(BlockControl(b, kBlockCalibrateText)), texts[3]);
        EXPECT_EQ(Text(BlockControl(b, kBlockCalibrate)), texts[4]);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(Text(BlockControl(b, kBlockFirstAdjust + i)), adjust[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(Text(kStore), "Store Calibration Values");
    EXPECT_EQ(Text(kPanelHeader), "Factory/Debug only");
    EXPECT_EQ(Text(kLoadDefaults), "Load Defaults");
    EXPECT_EQ(Text(kDacLabel), "DAC:");
    EXPECT_EQ(Text(kDcBiasLabel), "DCBIAS DAC:");
    EXPECT_EQ(Text(kAdc0Label), "ADC0:");
    EXPECT_EQ(Text(kAdc1Label), "ADC1:");
    EXPECT_EQ(Text(kDmmLabel), "DMM>");
    for (const int field : {kDacLive, kDacFields[0], kDacFields[4], kDcBiasFields[0],
                            kDcBiasFields[1], kAdc0Fields[0], kAdc1Fields[2]}) {
        EXPECT_EQ(Text(field), "--") << field;
    }
    EXPECT_EQ(Text(kDmmAddress), SimMultimeterAddress(*meter));
    EXPECT_EQ(Text(kDmmConnect), "Connect");
    const std::vector<std::string> ranges = ui::ListItems(*gui, kDmmRange);
    ASSERT_EQ(ranges.size(), 13u);
    EXPECT_EQ(ranges.front(), "1000V");
    EXPECT_EQ(ranges.back(), "1uA");
    EXPECT_EQ(ranges[static_cast<size_t>(ui::ListSelection(*gui, kDmmRange))], "10V");
    EXPECT_EQ(Text(kDmmMeasure), "Measure");
    EXPECT_EQ(Text(kDmmReadingField), "-");
    EXPECT_EQ(Text(kGo), "Go!");
    EXPECT_EQ(Text(kStatus), "");
    EXPECT_EQ(Text(kCountdown), "-");
}

TEST_F(WizardTest, WithoutAnInstrumentTheWindowDoesNotStay) {
    ASSERT_FALSE(Open());
    EXPECT_FALSE(ui::IsWindowOpen(*gui, kWindow));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Info #0056");
    EXPECT_EQ(dialogs.shown[0].text, "No USB detected - Please connect to device and retry");
}

TEST_F(WizardTest, AWindowThatCannotOpenIsSaidSo) {
    ConnectInstrument();
    ASSERT_TRUE(ui::OpenWindow(*gui, kWindow, "in the way", 0, 0, 100, 100));
    EXPECT_FALSE(BeginCalibrationWizard(*context, wizard));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Error #0057");
    EXPECT_EQ(dialogs.shown[0].text, "ADC CALIBRATE window won't start");
    EXPECT_TRUE(link.state.Connected);
}

TEST_F(WizardTest, SetOutputSendsTheLevelsRegisters) {
    ConnectInstrument();
    ASSERT_TRUE(Open());
    // The codes come from the instrument's own calibration text.
    const sim::HardwareConstants h;
    const std::int64_t plus1 = std::lround(h.dacZeroCode + h.dacCodesPerVoltLow);
    Press(SetOutputOf(kLevelPlus1));
    const std::pair<int, std::int64_t> expected[] = {{1, 16},  {3, plus1}, {6, 1000}, {8, 100},
                                                     {10, 64}, {11, 10},   {12, 8},   {14, 100},
                                                     {16, 0},  {17, 0}};
    for (const auto& [reg, value] : expected)
        EXPECT_EQ(InstrumentRegister(reg), static_cast<std::uint32_t>(value)) << reg;
    EXPECT_EQ(Text(kDacLive), std::to_string(plus1));
    // Each level in the output range its code is used in: +-10 V high, the rest low.
    const std::pair<int, std::uint32_t> ranges[] = {{kLevelPlus10, 48},
                                                    {kLevelPlus1, 16},
                                                    {kLevelZero, 16},
                                                    {kLevelMinus1, 16},
                                                    {kLevelMinus10, 48}};
    for (const auto& [level, control] : ranges) {
        Press(SetOutputOf(level));
        EXPECT_EQ(InstrumentRegister(1), control) << level;
    }

    // The -10 V DC bias block: the -10 V level code, and the DC bias registers.
    const std::int64_t bias10 = std::lround(h.dcBiasZeroCode + 10 * h.dcBiasCodesPerVolt);
    const std::int64_t biasMinus10 = std::lround(h.dcBiasZeroCode - 10 * h.dcBiasCodesPerVolt);
    Press(SetOutputOf(6));
    EXPECT_EQ(DacCode(), std::lround(h.dacZeroCode - 10 * h.dacCodesPerVoltHigh));
    EXPECT_EQ(InstrumentRegister(20), static_cast<std::uint32_t>(biasMinus10));
    EXPECT_EQ(InstrumentRegister(21), static_cast<std::uint32_t>((bias10 - biasMinus10) / 2));
    EXPECT_EQ(InstrumentRegister(22), 2u);
    EXPECT_NEAR(sim::SocketVolts(*instrument, sim::OutputSocket::Blue), -10.0, 0.01);
    EXPECT_EQ(Text(kDcBiasFields[1]), std::to_string(biasMinus10));
}

TEST_F(WizardTest, AdjustButtonsMoveTheCodeOncePerPress) {
    ConnectInstrument();
    ASSERT_TRUE(Open());
    Press(SetOutputOf(kLevelPlus10));
    const auto code = DacCode();
    const std::uint64_t writes = WritesAccepted();
    Press(BlockControl(kLevelPlus10, kBlockFirstAdjust));  // ++Course
    Press(BlockControl(kLevelPlus10, kBlockFirstAdjust));
    EXPECT_EQ(WritesAccepted(), writes + 2);  // register 3, once per press
    EXPECT_EQ(DacCode(), code + 1000);
    EXPECT_EQ(Text(kDacLive), std::to_string(code + 1000));
    const int steps[6] = {500, 25, 1, -1, -25, -500};
    int total = 1000;
    for (int i = 1; i < 6; ++i) {
        Press(BlockControl(kLevelPlus10, kBlockFirstAdjust + i));
        total += steps[i];
        EXPECT_EQ(DacCode(), code + total) << i;
    }
    // A DC bias block moves its own code in register 20 and shows it in its field.
    Press(SetOutputOf(5));
    const auto bias = static_cast<std::int32_t>(InstrumentRegister(20));
    Press(BlockControl(5, kBlockFirstAdjust + 1));  // +Course
    EXPECT_EQ(static_cast<std::int32_t>(InstrumentRegister(20)), bias + 25);
    EXPECT_EQ(Text(kDcBiasFields[0]), std::to_string(bias + 25));
    EXPECT_EQ(DacCode(), code + total);
}

TEST_F(WizardTest, CalibrateButtonsRecordTheCodeAndTheLiveAdcMeans) {
    ConnectInstrument();
    ASSERT_TRUE(Open());
    Press(SetOutputOf(kLevelMinus10));
    // The live means follow the output: about zero - 10 V x counts per volt.
    const sim::HardwareConstants h;
    const double expected = h.adc0ZeroCount - 10.0 * h.adc0CountsPerVolt;
    ASSERT_TRUE(PassUntil(
        [&] {
            const std::string live = Text(kAdc0Live);
            return live != "--" && std::abs(std::atof(live.c_str()) - expected) < 5;
        },
        10000))
        << Text(kAdc0Live);
    Press(BlockControl(kLevelMinus10, kBlockCalibrate));
    EXPECT_EQ(Text(kDacFields[kLevelMinus10]), std::to_string(DacCode()));
    EXPECT_NEAR(std::atof(Text(kAdc0Fields[2]).c_str()), expected, 5);
    EXPECT_NEAR(std::atof(Text(kAdc1Fields[2]).c_str()),
                h.adc1ZeroCount - 10.0 * h.adc1CountsPerVolt, 5);
    EXPECT_EQ(Text(kAdc0Fields[0]), "--");
    Press(BlockControl(kLevelMinus1, kBlockCalibrate));  // no ADC reading at -1 V
    EXPECT_EQ(Text(kAdc0Fields[1]), "--");
    EXPECT_NE(Text(kDacFields[kLevelMinus1]), "--");
}

TEST_F(WizardTest, StoreWritesTheFieldsIntoTheFileAndTheInstrument) {
    ConnectInstrument();
    ASSERT_TRUE(Open());
    const std::vector<std::pair<int, std::string>> typed = {
        {kDacFields[0], "29000"},  {kDacFields[1], "29700"},  {kDacFields[2], "1100"},
        {kDacFields[3], "-27400"}, {kDacFields[4], "-26800"}, {kAdc0Fields[0], "62700"},
        {kAdc0Fields[1], "32750"}, {kAdc0Fields[2], "2800"},  {kAdc1Fields[0], "62800"},
        {kAdc1Fields[1], "32780"}, {kAdc1Fields[2], "2770"},  {kDcBiasFields[0], "1536"},
        {kDcBiasFields[1], "512"}};
    for (const auto& [field, text] : typed)
        ui::SetControlText(*gui, field, text);
    link.generator.SourceResistanceTable[0] = 50.5f;
    Press(kStore);
    const std::string file = test::FileText("ORV_cal.txt");
    ASSERT_EQ(file.substr(0, 17), "Calibration date=");
    const std::size_t dateEnd = file.find("\r\n");
    EXPECT_EQ(dateEnd, 37u);  // dd/Mon/yyyy@hh:ii:ss
    EXPECT_EQ(file.substr(dateEnd),
              "\r\nDAC@10V=29000\r\nDAC@1V=29700\r\nDAC@0V=1100\r\nDAC@-1V=-27400\r\n"
              "DAC@-10V=-26800\r\nADC0@10V=62700\r\nADC0@0V=32750\r\nADC0@-10V=2800\r\n"
              "ADC1@10V=62800\r\nADC1@0V=32780\r\nADC1@-10V=2770\r\n"
              "50ohm=50\r\n100ohm=100\r\n200ohm=200\r\n500ohm=500\r\n1Kohm=1000\r\n"
              "2Kohm=2000\r\n5Kohm=5000\r\n10Kohm=10000\r\n"
              "DCBIAS@10V=1536\r\nDCBIAS@-10V=512\r\n");
    EXPECT_EQ(EepromCalibrationText(), file);
}

TEST_F(WizardTest, LoadDefaultsChangesTheCodesNotTheFields) {
    ConnectInstrument();
    ASSERT_TRUE(Open());
    Press(kLoadDefaults);
    EXPECT_EQ(Text(kDacFields[0]), "--");
    Press(SetOutputOf(kLevelMinus1));
    EXPECT_EQ(DacCode(), -27575);
    Press(SetOutputOf(5));
    EXPECT_EQ(InstrumentRegister(20), 29198u);
    EXPECT_EQ(InstrumentRegister(21), static_cast<std::uint32_t>((29198 - 3367) / 2));
}

TEST_F(WizardTest, MeasureShowsTheReadingOrWhyThereIsNone) {
    ConnectInstrument();
    ASSERT_TRUE(Open());
    Press(kDmmMeasure);  // not connected yet
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Error");
    EXPECT_EQ(dialogs.shown[0].text, "DMM not connected");
    ConnectMultimeter();
    SetSimMultimeterNoise(*meter, 0.0);
    Press(SetOutputOf(kLevelPlus10));
    Press(kDmmMeasure);
    EXPECT_NEAR(std::atof(Text(kDmmReadingField).c_str()), 10.0, 0.002);
    SimMultimeterFaults faults;
    faults.cannedReply = "-410,\"Query INTERRUPTED\"\r\n";
    SetSimMultimeterFaults(*meter, faults);
    const std::string before = Text(kDmmReadingField);
    Press(kDmmMeasure);
    EXPECT_EQ(Text(kDmmReadingField), before);
    EXPECT_EQ(Text(kStatus), "DMM reply rejected: -410,\"Query INTERRUPTED\"");
}

TEST_F(WizardTest, AMultimeterThatCannotBeReachedIsSaidSo) {
    ConnectInstrument();
    ASSERT_TRUE(Open());
    dmm.connectLimitMs = 500;
    meter.reset();  // nothing listens there any more
    Press(kDmmConnect);
    EXPECT_EQ(Text(kDmmConnect), "Connect");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Error");
    EXPECT_EQ(dialogs.shown[0].text, "Can't connect with DMM over TCP");
    Press(kGo);  // no multimeter: nothing happens
    EXPECT_EQ(Text(kGo), "Go!");
    EXPECT_EQ(wizard.run.step, 0);
    EXPECT_FALSE(ui::IsControlChecked(*gui, kGo));
}

// The instrument's true constants differ from what "Load Defaults" assumes.
sim::HardwareConstants DriftedHardware() {
    sim::HardwareConstants h;
    h.dacZeroCode = 1302;
    h.dacCodesPerVoltHigh = 2741.0;
    h.adc0ZeroCount = 32710.0;
    h.adc0CountsPerVolt = 3100.0;
    h.adc1ZeroCount = 32800.0;
    h.adc1CountsPerVolt = 2950.0;
    return h;
}

TEST_F(WizardTest, GoCalibratesTheInstrumentAgainstTheMultimeter) {
    UseModel("ORV320", DriftedHardware());
    ConnectInstrument();
    ASSERT_TRUE(Open());
    ConnectMultimeter();
    // The good-test sound marks the end.
    ASSERT_TRUE(MakeFolder("sounds"));
    ASSERT_TRUE(CreateNewFile("sounds/testgood.wav", test::WavClip()));
    media.sounds[static_cast<std::size_t>(Sound::TestGood)] =
        ui::LoadSoundClip("sounds/testgood.wav");
    ASSERT_NE(media.sounds[static_cast<std::size_t>(Sound::TestGood)], nullptr);
    Press(kGo);
    EXPECT_EQ(Text(kGo), "Stop!");
    ASSERT_TRUE(PassUntil([&] { return wizard.run.step == 0; }, 300000));
    EXPECT_EQ(Text(kGo), "Go!");
    EXPECT_EQ(statuses.back(), "0: idle");
    EXPECT_EQ(ui::TimesPlayed(*media.sounds[static_cast<std::size_t>(Sound::TestGood)]), 1);

    // Every step said what it did, in order; the zeroing counted its passes down.
    const std::vector<std::string> expectedSteps = {"1: starting calibration",
                                                    "2: load default values",
                                                    "3: set to +10V",
                                                    "4: read DMM",
                                                    "15: calculate values ",
                                                    "16: set to +10V",
                                                    "28: calculate values ",
                                                    "29: setup for zeroing the 0V",
                                                    "30: zeroing in on 0V, pass:50",
                                                    "30: zeroing in on 0V, pass:1",
                                                    "31: +10V cal, set",
                                                    "41: store all values",
                                                    "0: idle"};
    auto at = statuses.begin();
    for (const std::string& step : expectedSteps) {
        at = std::find(at, statuses.end(), step);
        ASSERT_NE(at, statuses.end()) << step;
    }
    EXPECT_EQ(std::count_if(statuses.begin(), statuses.end(),
                            [](const std::string& s) { return s.starts_with("30: "); }),
              50);
    // The countdown showed the seconds left, two decimals, at most the longest wait.
    countdowns.erase("-");
    EXPECT_GT(countdowns.size(), 10u);
    for (const std::string& left : countdowns) {
        EXPECT_EQ(left.size(), 4u) << left;
        EXPECT_LE(std::atof(left.c_str()), 2.0) << left;
    }

    // Fifty 100 mV readings zeroed the 0 V code.
    const std::vector<std::string> commands = ReceivedCommands(*meter);
    const auto zeroing = std::find(commands.begin(), commands.end(), "VOLTage:DC:RANGe 100mV");
    ASSERT_NE(zeroing, commands.end());
    EXPECT_EQ(std::count(zeroing, commands.end(), std::string("READ?")), 50);

    // The stored codes put the output where it belongs.
    const std::string file = test::FileText("ORV_cal.txt");
    EXPECT_EQ(EepromCalibrationText(), file);
    const struct {
        int level;
        double volts;
        double tolerance;
    } levels[] = {{kLevelPlus10, 10.0, 0.01},
                  {kLevelPlus1, 1.0, 0.001},
                  {kLevelZero, 0.0, 0.002},
                  {kLevelMinus1, -1.0, 0.001},
                  {kLevelMinus10, -10.0, 0.01}};
    for (const auto& l : levels) {
        SCOPED_TRACE(l.level);
        const std::string key = std::vector<std::string>{
            "DAC@10V=", "DAC@1V=", "DAC@0V=", "DAC@-1V=", "DAC@-10V="}[l.level];
        const std::size_t at = file.find("\r\n" + key);
        ASSERT_NE(at, std::string::npos);
        const long code = std::atol(file.c_str() + at + 2 + key.size());
        EXPECT_EQ(Text(kDacFields[static_cast<std::size_t>(l.level)]), std::to_string(code));
        // Each code in the range the generator uses it in.
        const bool highRange = l.level == kLevelPlus10 || l.level == kLevelMinus10;
        link.registers.values[kRegControl] =
            kControlCalibrationOutput | (highRange ? kControlHighRange : 0);
        link.registers.values[3] = code;
        WriteRegisters(link, 0, 32);
        EXPECT_NEAR(sim::SocketVolts(*instrument, sim::OutputSocket::Red), l.volts, l.tolerance);
    }

    // Closing disconnects; the next connection loads what was stored.
    gui->pending.push_back({ui::EventKind::CloseRequest, 0, kWindow});
    EXPECT_FALSE(Pass());
    EXPECT_FALSE(link.state.Connected);
    ConnectInstrument();
    const std::string lines = test::FileText("log.txt");
    const std::size_t loaded = lines.rfind("Calibration loaded: ADC0_gain=");
    ASSERT_NE(loaded, std::string::npos);
    const double adc0Gain = std::atof(lines.c_str() + loaded + 30);
    const double adc1Gain = std::atof(lines.c_str() + lines.find("ADC1_gain=", loaded) + 10);
    EXPECT_NEAR(adc0Gain, 1.0 / 3100.0, 1e-6);
    EXPECT_NEAR(adc1Gain, 1.0 / 2950.0, 1e-6);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

using namespace calibration;
using test::WizardTest;

class WizardRunTest : public WizardTest {
protected:
    void StartRun() {
        ConnectInstrument();
        ASSERT_TRUE(Open());
        ConnectMultimeter();
        factoryText = EepromCalibrationText();
        std::filesystem::remove("ORV_cal.txt");
        Press(kGo);
        ASSERT_EQ(Text(kGo), "Stop!");
    }
    bool PassUntilStep(int step) {
        return PassUntil([&] { return wizard.run.step >= step; }, 200000);
    }
    // Nothing was stored: no file written, the instrument's text as it was.
    void ExpectNothingStored() {
        EXPECT_EQ(test::FileText("ORV_cal.txt"), "<missing>");
        EXPECT_EQ(EepromCalibrationText(), factoryText);
    }
    std::string factoryText;
};

TEST_F(WizardRunTest, StopEndsTheRunAtOnce) {
    StartRun();
    ASSERT_TRUE(PassUntilStep(6));
    Press(kGo);
    EXPECT_EQ(wizard.run.step, 0);
    EXPECT_EQ(Text(kGo), "Go!");
    EXPECT_FALSE(ui::IsControlChecked(*gui, kGo));
    EXPECT_EQ(Text(kStatus), "0: idle");
    // Nothing more happens, however long the window stays open.
    const std::size_t commands = ReceivedCommands(*meter).size();
    const std::int64_t until = NowMs(link.clock) + 5000;
    while (NowMs(link.clock) < until)
        Pass();
    EXPECT_EQ(ReceivedCommands(*meter).size(), commands);
    EXPECT_EQ(Text(kStatus), "0: idle");
    ExpectNothingStored();
}

TEST_F(WizardRunTest, EqualReadingsStopTheRunBeforeItDividesByZero) {
    // A meter stuck on one value reads the same at every level.
    SimMultimeterFaults faults;
    faults.cannedReply = "+1.00000000E+00\n";
    SetSimMultimeterFaults(*meter, faults);
    StartRun();
    ASSERT_TRUE(PassUntil([&] { return wizard.run.step == 0; }, 200000));
    EXPECT_EQ(Text(kStatus),
              "15: calculate values refused: the readings at +10V and -10V are equal");
    EXPECT_EQ(Text(kGo), "Go!");
    ExpectNothingStored();
}

TEST_F(WizardRunTest, ARejectedReplyIsShownAndTheRunGoesOnWithTheOldReading) {
    StartRun();
    ASSERT_TRUE(PassUntilStep(4));  // set to +10V done, the reading comes next
    SimMultimeterFaults faults;
    faults.cannedReply = "*IDN garbage\n";
    SetSimMultimeterFaults(*meter, faults);
    ASSERT_TRUE(PassUntil([&] { return Text(kStatus).starts_with("DMM reply rejected"); }, 5000));
    EXPECT_EQ(Text(kStatus), "DMM reply rejected: *IDN garbage");
    EXPECT_EQ(Text(kDmmReadingField), "0");  // nothing was read before
    ASSERT_TRUE(PassUntilStep(6));
    EXPECT_EQ(Text(kStatus), "5: store +10V result");
    EXPECT_NE(wizard.run.step, 0);
}

TEST_F(WizardRunTest, ClosingMidRunDisconnectsAndStoresNothing) {
    StartRun();
    ASSERT_TRUE(PassUntilStep(10));
    gui->pending.push_back({ui::EventKind::CloseRequest, 0, kWindow});
    while (Pass()) {
    }
    EXPECT_FALSE(ui::IsWindowOpen(*gui, kWindow));
    EXPECT_FALSE(link.state.Connected);
    EXPECT_EQ(link.registers.values[kRegControl] & kControlCalibrationOutput, 0);
    EXPECT_TRUE(DmmConnected(dmm));  // the multimeter stays connected for the next time
    ExpectNothingStored();
}

TEST_F(WizardTest, AClickIntoAnotherWindowClosesItAndDisconnects) {
    ASSERT_TRUE(ui::OpenWindow(*gui, ui::kMainWindow, "main", 0, 0, 400, 300));
    ConnectInstrument();
    ASSERT_TRUE(Open());
    while (!gui->pending.empty())
        ASSERT_TRUE(Pass());
    // Moves of the main window wait for its own loop; a click there ends this window.
    gui->pending.push_back({ui::EventKind::MovedOrResized, 0, ui::kMainWindow});
    ASSERT_TRUE(Pass());
    gui->pending.push_back({ui::EventKind::LeftClick, 0, ui::kMainWindow, 10, 10});
    EXPECT_FALSE(Pass());
    EXPECT_FALSE(ui::IsWindowOpen(*gui, kWindow));
    EXPECT_FALSE(link.state.Connected);
    EXPECT_NE(std::find(gui->pending.begin(), gui->pending.end(),
                        ui::Event{ui::EventKind::MovedOrResized, 0, ui::kMainWindow}),
              gui->pending.end());
    EXPECT_TRUE(test::FileText("log.txt").find("ORV_StopConnection()") != std::string::npos);
    ui::CloseWindow(*gui, ui::kMainWindow);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

using namespace calibration;

// A picture of the window during the run, for a person to look at: run on a real
// display (Xvfb, QT_QPA_PLATFORM=xcb) with ORV_CALIBRATION_SCREENSHOT naming the file.
TEST_F(WizardRunTest, ScreenshotDuringTheRun) {
    const char* file = std::getenv("ORV_CALIBRATION_SCREENSHOT");
    if (file == nullptr)
        GTEST_SKIP() << "no screenshot asked for";
    StartRun();
    ASSERT_TRUE(PassUntil(
        [&] { return wizard.run.step == kZeroingStep && wizard.run.zeroingPasses < 40; }, 200000));
    for (int i = 0; i < 20; ++i)
        Pass();
    ASSERT_EQ(std::system((std::string("import -window root ") + file).c_str()), 0);
}

}  // namespace
}  // namespace orv
