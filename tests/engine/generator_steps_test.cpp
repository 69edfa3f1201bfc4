// The generator commands of the ribbon and the probe buttons: list choices, stepping
// from the requested or applied value, and the resistance cycles of both families.

#include "engine/generator_steps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

GeneratorSettings Settings3(float millivolts, float ohms, float hertz) {
    GeneratorSettings settings;
    settings.PeakMillivolts = millivolts;
    settings.SourceOhms = ohms;
    settings.FrequencyHz = hertz;
    return settings;
}

TEST(GeneratorStepsTest, VoltageStepsFromTheRequest) {
    struct Case {
        float from;
        Step step;
        float expected;
    };
    const Case cases[] = {
        {1000, Step::Up, 2000},   {1000, Step::Down, 800},   {10000, Step::Up, 10000},
        {200, Step::Down, 200},   {10000, Step::Cycle, 200}, {5000, Step::Cycle, 10000},
        {999.6f, Step::Up, 2000},  // rounded to a whole number first
        {1500, Step::Up, 1500},    // a record's own voltage is no list value
        {1500, Step::Down, 1500}, {1500, Step::Cycle, 1500},
    };
    for (const Case& c : cases) {
        GeneratorSettings request = Settings3(c.from, 1000, 50);
        StepVoltage(request, c.step);
        EXPECT_EQ(request.PeakMillivolts, c.expected) << c.from << " " << static_cast<int>(c.step);
    }
}

TEST(GeneratorStepsTest, ResistanceAndFrequencyStepFromWhatWasApplied) {
    struct Case {
        const char* model;
        float applied;
        Step step;
        float expected;
    };
    const Case resistances[] = {
        {"ORV310", 10000, Step::Up, 10000}, {"ORV310", 1000, Step::Up, 10000},
        {"ORV310", 100, Step::Down, 100},   {"ORV310", 5000, Step::Up, 1234},
        {"ORV320", 50, Step::Up, 100},      {"ORV320", 10000, Step::Down, 5000},
        {"ORV340X", 500, Step::Up, 1000},   {"ORV311P", 10000, Step::Cycle, 100},
    };
    for (const Case& c : resistances) {
        GeneratorSettings request = Settings3(1000, 1234, 50);
        StepResistance(request, Settings3(1000, c.applied, 50), c.model, c.step);
        EXPECT_EQ(request.SourceOhms, c.expected) << c.model << " " << c.applied;
    }
    const Case frequencies[] = {
        {"", 1000, Step::Up, 1000}, {"", 10, Step::Down, 10}, {"", 1000, Step::Cycle, 10},
        {"", 50, Step::Up, 100},    {"", 15, Step::Up, 77},
    };
    for (const Case& c : frequencies) {
        GeneratorSettings request = Settings3(1000, 1000, 77);
        StepFrequency(request, Settings3(1000, 1000, c.applied), c.step);
        EXPECT_EQ(request.FrequencyHz, c.expected) << c.applied;
    }
}

TEST(GeneratorStepsTest, TheLargeFamilyCyclesBackAndForth) {
    GeneratorSettings request = Settings3(1000, 10000, 50);
    std::string direction = "Down";
    std::vector<float> seen;
    for (int i = 0; i < 9; ++i) {
        // The instrument takes each request before the next press.
        CycleResistance(request, request, "ORV320", direction);
        seen.push_back(request.SourceOhms);
    }
    EXPECT_EQ(seen, (std::vector<float>{5000, 2000, 1000, 500, 200, 100, 50, 100, 200}));
    EXPECT_EQ(direction, "Up");
    request.SourceOhms = 5000;
    CycleResistance(request, request, "ORV320", direction);
    CycleResistance(request, request, "ORV320", direction);
    EXPECT_EQ(request.SourceOhms, 5000);  // 10000, then back down
    EXPECT_EQ(direction, "Down");
}

TEST(GeneratorStepsTest, TheSmallFamilyCyclesUpAndWraps) {
    GeneratorSettings request = Settings3(1000, 100, 50);
    std::string direction = "Down";
    std::vector<float> seen;
    for (int i = 0; i < 4; ++i) {
        CycleResistance(request, request, "ORV310", direction);
        seen.push_back(request.SourceOhms);
    }
    EXPECT_EQ(seen, (std::vector<float>{1000, 10000, 100, 1000}));
    EXPECT_EQ(direction, "Down");  // only the large family turns
}

TEST(GeneratorStepsTest, ListItemsGiveTheirValues) {
    GeneratorSettings request;
    ChooseVoltageItem(request, 0);
    EXPECT_EQ(request.PeakMillivolts, 200);
    ChooseVoltageItem(request, 9);
    EXPECT_EQ(request.PeakMillivolts, 10000);
    ChooseVoltageItem(request, 10);  // past the list: unchanged
    EXPECT_EQ(request.PeakMillivolts, 10000);
    ChooseResistanceItem(request, "ORV310", 2);
    EXPECT_EQ(request.SourceOhms, 100);
    ChooseResistanceItem(request, "ORV340", 7);
    EXPECT_EQ(request.SourceOhms, 50);
    ChooseResistanceItem(request, "ORV310", 3);
    EXPECT_EQ(request.SourceOhms, 50);
    ChooseFrequencyItem(request, 6);
    EXPECT_EQ(request.FrequencyHz, 1000);
    ChooseDcModeItem(request, 5);
    EXPECT_EQ(request.DcMode, 5);
    ChooseDcModeItem(request, -1);
    EXPECT_EQ(request.DcMode, 5);
}

TEST(GeneratorStepsTest, DcLevelsAreReadFromTheirTexts) {
    struct Case {
        const char* text;
        float volts;
    };
    const Case cases[] = {{"+10.00V", 10.0f}, {" +9.00V", 9.0f},   {" +3.3V", 3.3f},
                          {" 0V", 0.0f},      {" -0.25V", -0.25f}, {" -10.00V", -10.0f}};
    for (const Case& c : cases) {
        GeneratorSettings request;
        request.DcVolts = 99;
        ChooseDcLevelText(request, c.text);
        EXPECT_EQ(request.DcVolts, c.volts) << c.text;
    }
    GeneratorSettings request;
    request.DcVolts = 2;
    ChooseDcLevelText(request, "");
    ChooseDcLevelText(request, "V");
    EXPECT_EQ(request.DcVolts, 2);
}

}  // namespace
}  // namespace orv
