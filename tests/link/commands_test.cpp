#include "link/commands.h"

#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "link/generator_tables.h"
#include "link_fixture.h"

namespace orv {
namespace {

class CommandsTest : public test::ScriptedLinkTest {
protected:
    void SetUp() override {
        ScriptedLinkTest::SetUp();
        Calibration& c = link.calibration;
        for (size_t i = 0; i < kPeakVoltageSteps.size(); ++i)
            c.AmplitudeCodes[i] = 100 + i;
        c.AmplitudeZeroCode = 1113;
        c.DcBiasGain = 50;
        c.DcBiasOffset = 1000;
        app.settings.ActiveInstrument = "ORV320";
    }
    void Send(float millivolts, float ohms, float hertz) {
        app.GeneratorApplied.PeakMillivolts = millivolts;
        app.GeneratorApplied.SourceOhms = ohms;
        app.GeneratorApplied.FrequencyHz = hertz;
        SendGeneratorSettings(link, app);
    }
    // Register -> value of every packet written, in order of writing.
    std::map<int, std::uint32_t> Sent() const {
        std::map<int, std::uint32_t> sent;
        for (const auto& write : driver.writes) {
            for (size_t at = 0; at + kPacketBytes <= write.size(); at += kPacketBytes) {
                const DecodedPacket packet = DecodePacket(write.data() + at);
                if (packet.write && packet.checksumOk)
                    sent[packet.registerNumber] = packet.value;
            }
        }
        return sent;
    }
    std::int64_t Reg(int n) const { return link.registers.values[static_cast<size_t>(n)]; }
};

TEST_F(CommandsTest, ABurstIsFiveWritesOfRangesInOrder) {
    Send(1000, 1000, 50);
    std::vector<size_t> sizes;
    std::vector<int> firstRegisters;
    for (const auto& write : driver.writes) {
        sizes.push_back(write.size());
        firstRegisters.push_back(DecodePacket(write.data()).registerNumber);
    }
    EXPECT_EQ(sizes, (std::vector<size_t>{16, 48, 8, 72, 64}));
    EXPECT_EQ(firstRegisters, (std::vector<int>{30, 0, 6, 7, 16}));
    EXPECT_EQ(Sent().size(), 26u);
}

TEST_F(CommandsTest, RegisterValuesOfABurst) {
    link.registers.values[kRegControl] = 2 | 4 | 8 | 16;
    app.GeneratorRequest.ScanA = 7;
    app.GeneratorRequest.ScanB = 40;
    app.GeneratorRequest.DcMode = 2;
    app.GeneratorRequest.DcVolts = 2.5f;
    Send(1000, 5000, 1000);
    const std::map<int, std::uint32_t> sent = Sent();
    const std::map<int, std::uint32_t> expected = {
        {1, 2 | 16}, {4, 105}, {5, 1113},  {6, 1000}, {8, 5000}, {10, 64},
        {11, 1},     {12, 80}, {14, 1000}, {16, 7},   {17, 40},  {20, 1125},
        {21, 1000},  {22, 2},  {23, 5},    {30, 0},   {31, 0},
    };
    for (const auto& [reg, value] : expected)
        EXPECT_EQ(sent.at(reg), value) << "register " << reg;
    EXPECT_EQ(link.generator.AccumulateA, 1);
    EXPECT_EQ(link.generator.AccumulateB, 80);
    EXPECT_EQ(link.generator.EffectiveResistance, 5000);
}

TEST_F(CommandsTest, PeakVoltageStepsAndTheRangeBit) {
    struct Case {
        float millivolts;
        std::int64_t amplitude;  // register 4 afterwards
        bool highRange;
    };
    // Each case starts from the one before: a voltage off the steps keeps what it found.
    const Case cases[] = {
        {2000, 106, true}, {1000, 105, false}, {1500, 105, false}, {10000, 110, true},
        {1500, 110, true}, {200, 101, false},  {0, 100, false},    {999.6f, 105, false},
    };
    for (const Case& c : cases) {
        Send(c.millivolts, 1000, 50);
        EXPECT_EQ(Reg(kRegAmplitude), c.amplitude) << c.millivolts;
        EXPECT_EQ((Reg(kRegControl) & kControlHighRange) != 0, c.highRange) << c.millivolts;
        EXPECT_EQ(Reg(kRegPeakMillivolts), RoundToInstrument(c.millivolts));
    }
}

TEST_F(CommandsTest, FrequencyStepsSetTheAccumulationAndOthersKeepIt) {
    struct Case {
        float hertz;
        int a, b;
    };
    const Case cases[] = {{10, 100, 1}, {20, 50, 2},  {30, 50, 2},   {50, 20, 4},    {100, 10, 8},
                          {200, 5, 16}, {500, 2, 40}, {1000, 1, 80}, {50.5f, 20, 4}, {0, 20, 4}};
    for (const Case& c : cases) {
        Send(1000, 1000, c.hertz);
        EXPECT_EQ(link.generator.AccumulateA, c.a) << c.hertz;
        EXPECT_EQ(link.generator.AccumulateB, c.b) << c.hertz;
        EXPECT_EQ(Reg(kRegAccumulateA), c.a) << c.hertz;
        EXPECT_EQ(Reg(kRegFrequency), RoundToInstrument(c.hertz));
    }
}

TEST_F(CommandsTest, EffectiveResistanceByFamily) {
    struct Case {
        const char* model;
        float ohms;
        int effective;  // starting from 12345
    };
    const Case cases[] = {
        {"ORV310", 1000, 1000},  {"ORV310", 200, 12345}, {"ORV311P", 50, 12345},
        {"ORV320", 200, 200},    {"ORV340X", 50, 50},    {"ORV340", 300, 12345},
        {"ORV320", 199.6f, 200},
    };
    for (const Case& c : cases) {
        link.generator.EffectiveResistance = 12345;
        ApplyEffectiveResistance(link.generator, c.model, c.ohms);
        EXPECT_EQ(link.generator.EffectiveResistance, c.effective) << c.model << " " << c.ohms;
    }
    // A measured table entry is rounded: 999.5 goes to the even 1000, 1000.6 up to 1001.
    link.generator.SourceResistanceTable[4] = 999.5f;
    ApplyEffectiveResistance(link.generator, "ORV320", 1000);
    EXPECT_EQ(link.generator.EffectiveResistance, 1000);
    link.generator.SourceResistanceTable[4] = 1000.6f;
    ApplyEffectiveResistance(link.generator, "ORV310", 1000);
    EXPECT_EQ(link.generator.EffectiveResistance, 1001);
}

TEST_F(CommandsTest, EffectiveResistanceFromMeasuredTableEntries) {
    link.generator.SourceResistanceTable[1] = 101.4f;   // 100 ohms, measured
    link.generator.SourceResistanceTable[3] = 502.5f;   // 500 ohms: a half goes to the even one
    link.generator.SourceResistanceTable[6] = 4999.5f;  // 5000 ohms
    struct Case {
        const char* model;
        float nominal;
        int expected;  // starting from 777
    };
    const Case cases[] = {
        {"ORV310", 100, 101},   {"ORV310", 1000, 1000},   {"ORV311P", 10000, 10000},
        {"ORV310", 200, 777},   {"ORV311P", 50, 777},     {"ORV310", 5000, 777},
        {"ORV320", 50, 50},     {"ORV340", 200, 200},     {"ORV340X", 500, 502},
        {"ORV320", 5000, 5000}, {"ORV320", 999.6f, 1000}, {"ORV320", 300, 777},
        {"ORV320", 0, 777},     {"ORV340", -100, 777},
    };
    for (const Case& c : cases) {
        link.generator.EffectiveResistance = 777;
        ApplyEffectiveResistance(link.generator, c.model, c.nominal);
        EXPECT_EQ(link.generator.EffectiveResistance, c.expected) << c.model << " " << c.nominal;
    }
}

TEST_F(CommandsTest, AnUnusableTableEntryKeepsTheLastEffectiveResistance) {
    link.generator.SourceResistanceTable = {50, 100, 200, 500, 0.4f, 2000, 5000, 10000};
    link.generator.SourceResistanceTable[7] = std::numeric_limits<float>::quiet_NaN();
    for (const auto& [model, nominal] :
         std::vector<std::pair<const char*, float>>{{"ORV320", 1000}, {"ORV310", 10000}}) {
        link.generator.EffectiveResistance = 321;
        ApplyEffectiveResistance(link.generator, model, nominal);
        EXPECT_EQ(link.generator.EffectiveResistance, 321) << model;
    }
    ApplyEffectiveResistance(link.generator, "ORV320", 100);
    EXPECT_EQ(link.generator.EffectiveResistance, 100);
}

TEST_F(CommandsTest, NegativeDcCodesGoOutTruncated) {
    link.calibration.DcBiasGain = 1;
    link.calibration.DcBiasOffset = 0;
    app.GeneratorRequest.DcVolts = -10;
    Send(1000, 1000, 50);
    EXPECT_EQ(Reg(kRegDcLevel), -10);
    EXPECT_EQ(Sent().at(kRegDcLevel), 0xF6u);
}

TEST_F(CommandsTest, NothingChangesWhileDisconnected) {
    link.state.Connected = false;
    link.generator.EffectiveResistance = 777;
    Send(2000, 100, 1000);
    EXPECT_TRUE(driver.writes.empty());
    EXPECT_EQ(link.registers.values, RegisterImage{}.values);
    EXPECT_EQ(link.generator.AccumulateB, 1);
    EXPECT_EQ(link.generator.EffectiveResistance, 777);
}

TEST_F(CommandsTest, AFailedStatusQueryDropsThatWrite) {
    driver.statusStatus = kUsbIoError;
    WriteRegisters(link, 1, 1);
    EXPECT_TRUE(driver.writes.empty());
    driver.statusStatus = kUsbOk;
    link.registers.values[1] = 2;
    WriteRegisters(link, 1, 1);
    ASSERT_EQ(driver.writes.size(), 1u);
    EXPECT_EQ(driver.writes[0],
              (std::vector<std::uint8_t>{0x80, 0x01, 0x00, 0x00, 0x00, 0x02, 0xD5, 0x58}));
}

TEST(RoundToInstrumentTest, HalvesGoToEven) {
    const std::pair<double, std::int64_t> cases[] = {{2.5, 2},       {3.5, 4},       {-2.5, -2},
                                                     {1124.5, 1124}, {1125.5, 1126}, {0.49, 0}};
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(RoundToInstrument(value), rounded) << value;
}

}  // namespace
}  // namespace orv
