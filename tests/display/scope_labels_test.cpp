#include "display/scope_labels.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(ScopeLabelsTest, GeneratorLabels) {
    struct Case {
        float mv, ohms, hz;
        const char* top;      // slot 1
        const char* bottom;   // slot 3
        const char* left;     // slot 4
        const char* right;    // slot 6
        const char* summary;  // slot 5
    };
    const Case cases[] = {
        {200, 10000, 50, "+20uA", "-20uA", "-200mV", "+200mV", "Vpk=200mV, Z=10kohms, f=50Hz"},
        {10000, 100, 1000, "+100mA", "-100mA", "-10V", "+10V", "Vpk=10V, Z=100ohms, f=1kHz"},
        {10000, 100, 500, "+100mA", "-100mA", "-10V", "+10V", "Vpk=10V, Z=100ohms, f=500Hz"},
        // Exactly 1000 mV and exactly 1 mA take the larger unit.
        {1000, 1000, 2000, "+1mA", "-1mA", "-1V", "+1V", "Vpk=1V, Z=1kohms, f=2kHz"},
        {999, 1000, 999, "+999uA", "-999uA", "-999mV", "+999mV", "Vpk=999mV, Z=1kohms, f=999Hz"},
        // 2.5 mA lies on a half and goes to the even neighbour.
        {5000, 2000, 50, "+2mA", "-2mA", "-5V", "+5V", "Vpk=5V, Z=2kohms, f=50Hz"},
        {2500, 50, 20000, "+50mA", "-50mA", "-2V", "+2V", "Vpk=2V, Z=50ohms, f=20kHz"},
        {0, 1000, 50, "+0uA", "-0uA", "-0mV", "+0mV", "Vpk=0mV, Z=1kohms, f=50Hz"},
        // No current can be worked out without a resistance; no "inf" on the scope.
        {200, 0, 50, "", "", "-200mV", "+200mV", "Vpk=200mV, Z=0ohms, f=50Hz"},
    };
    for (const Case& c : cases) {
        ScopeLabelInput in;
        in.peakMillivolts = c.mv;
        in.sourceOhms = c.ohms;
        in.frequencyHz = c.hz;
        const ScopeLabels labels = BuildScopeLabels(in);
        EXPECT_EQ(labels[0], c.top) << c.mv << " " << c.ohms;
        EXPECT_EQ(labels[2], c.bottom) << c.mv << " " << c.ohms;
        EXPECT_EQ(labels[3], c.left) << c.mv;
        EXPECT_EQ(labels[5], c.right) << c.mv;
        EXPECT_EQ(labels[4], c.summary);
        for (int empty : {1, 6, 7, 8, 11})
            EXPECT_EQ(labels[empty], "") << empty + 1;
    }
}

TEST(ScopeLabelsTest, RecordPositionAndTitleInAdvancedMode) {
    struct Case {
        const char* mode;
        int index;
        int rows;
        const char* title;
        const char* userText;
        const char* position;  // slot 10
        const char* shown;     // slot 11
    };
    const Case cases[] = {
        {"Advanced", 1, 5, "IC1, Pin 1", "", "1/5", "testplans\\board.orv"},
        {"Advanced", 3, 5, "IC17, Pin 3", "", "3/5", "IC17, Pin 3"},
        {"Advanced", 3, 5, "IC17\xC2\xA3 Pin 3", "check", "3/5", "IC17, Pin 3, check"},
        {"Advanced", 5, 5, "R4, Pin 2", "x\xC2\xA3y", "5/5", "R4, Pin 2, x\xC2\xA3y"},
        {"Advanced", 7, 5, "R4, Pin 2", "", "7/5", ""},  // beyond the plan: no title
        {"Advanced", 2, 1, "IC1, Pin 1", "", "2/1", ""},
        {"Basic", 3, 5, "IC17, Pin 3", "", "", ""},
        {"Basic-Auto", 1, 5, "IC17, Pin 3", "", "", ""},
    };
    for (const Case& c : cases) {
        ScopeLabelInput in;
        in.mode = c.mode;
        in.peakMillivolts = 200;
        in.sourceOhms = 10000;
        in.frequencyHz = 50;
        in.recordIndex = c.index;
        in.rows = c.rows;
        in.planFileName = "testplans\\board.orv";
        in.record.title = c.title;
        in.record.userText = c.userText;
        const ScopeLabels labels = BuildScopeLabels(in);
        EXPECT_EQ(labels[9], c.position) << c.mode << " " << c.index;
        EXPECT_EQ(labels[10], c.shown) << c.mode << " " << c.index;
        EXPECT_EQ(labels[11], "");
    }
}

TEST(ScopeLabelsTest, PoundSignShowsAsComma) {
    EXPECT_EQ(ShowPoundAsComma("C3\xC2\xA3 Pin 2\xC2\xA3"), "C3, Pin 2,");
    // Other characters whose encoding holds the same byte stay as they are.
    EXPECT_EQ(ShowPoundAsComma("S\xC3\xA3o"), "S\xC3\xA3o");
    EXPECT_EQ(ShowPoundAsComma("end\xC2"), "end\xC2");
}

}  // namespace
}  // namespace orv
