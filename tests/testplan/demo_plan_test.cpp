// The demo plans shipped in the working directory: one record per pin of the simulated
// board, each pin's marker on the pad drawn for it on the photograph, and the golden
// signatures of the second plan what the known-good board shows.

#include <gtest/gtest.h>

#include <QColor>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "core/event_log.h"
#include "media/image_decoding.h"
#include "link/sim/board.h"
#include "support/working_dir.h"
#include "testplan/cell_numbers.h"
#include "testplan/orv_file.h"
#include "testplan/record_cells.h"
#include "testplan/test_plan.h"

namespace orv {
namespace {

class DemoPlanTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        // Where the stage puts them: testplans/ in the working directory.
        std::filesystem::copy(ORV_DEMO_DIR, ".", std::filesystem::copy_options::recursive);
    }

    TestPlan Load(const std::string& name) {
        TestPlan plan;
        LoadTestPlan(plan, log_, name);
        return plan;
    }

    EventLog log_;
};

struct PlanCase {
    const char* file;
    const char* signature;
};

const PlanCase kPlans[] = {
    {"testplans/demo_A.orv", "No"},
    {"testplans/demo_B.orv", "Yes"},
};

TEST_F(DemoPlanTest, OneRecordPerBoardPinInBoardOrder) {
    const auto pins = sim::ListPins(sim::MakeKnownGoodBoard());
    for (const PlanCase& c : kPlans) {
        SCOPED_TRACE(c.file);
        const TestPlan plan = Load(c.file);
        ASSERT_EQ(RowCount(plan), 1 + static_cast<int>(pins.size()));
        EXPECT_EQ(ColCount(plan), kPlanColumns);
        for (size_t i = 0; i < pins.size(); ++i) {
            const int row = 2 + static_cast<int>(i);
            SCOPED_TRACE(row);
            EXPECT_EQ(Cell(plan, row, column::kRecord), std::to_string(row));
            EXPECT_EQ(Cell(plan, row, column::kComponent), pins[i].component);
            EXPECT_EQ(Cell(plan, row, column::kPin), pins[i].pin);
            EXPECT_EQ(Cell(plan, row, column::kDescription),
                      pins[i].component + ", Pin " + pins[i].pin);
            EXPECT_EQ(Cell(plan, row, column::kStatus), kUntested);
            EXPECT_EQ(Cell(plan, row, column::kSignature), c.signature);
            EXPECT_EQ(RecordSettings(plan, row), (RecordGenerator{1000, 1000, 50, 0, 0}));
            EXPECT_EQ(Cell(plan, row, column::kVoltageUnit), "mVpk");
            EXPECT_EQ(Cell(plan, row, column::kResistanceUnit), "ohms");
            EXPECT_EQ(Cell(plan, row, column::kFrequencyUnit), "Hz");
        }
    }
}

// Every marker sits inside the photograph on a tinned pad: bright and grey, never the
// green board, a black body or the bench around the board. The view of each record
// is centred on the photograph and zoomed in.
TEST_F(DemoPlanTest, MarkersLandOnThePadsOfThePhotograph) {
    const TestPlan plan = Load("testplans/demo_A.orv");
    const std::string imageCell = Cell(plan, 1, column::kImageFile);
    EXPECT_EQ(imageCell, "testplans\\images\\demo_board.jpg");
    const auto jpeg = DecodeImageFile(imageCell);
    const auto png = DecodeImageFile("testplans/images/demo_board.png");
    ASSERT_TRUE(jpeg && png);
    EXPECT_EQ(jpeg->size(), png->size());
    EXPECT_EQ(png->width(), 2400);
    EXPECT_EQ(png->height(), 1600);
    EXPECT_EQ(ReadIntegerText(Cell(plan, 1, column::kViewX)), png->width() / 2);
    EXPECT_EQ(ReadIntegerText(Cell(plan, 1, column::kViewY)), png->height() / 2);
    EXPECT_EQ(Cell(plan, 1, column::kZoom), "1");

    for (int row = 2; row <= RowCount(plan); ++row) {
        SCOPED_TRACE(Cell(plan, row, column::kDescription));
        const auto x = static_cast<int>(ReadIntegerText(Cell(plan, row, column::kTestX)));
        const auto y = static_cast<int>(ReadIntegerText(Cell(plan, row, column::kTestY)));
        ASSERT_TRUE(png->rect().contains(x, y));
        const QColor pad = png->pixelColor(x, y);
        EXPECT_GT(pad.value(), 110);
        EXPECT_LT(pad.hsvSaturation(), 40);
        const auto viewX = ReadIntegerText(Cell(plan, row, column::kViewX));
        const auto viewY = ReadIntegerText(Cell(plan, row, column::kViewY));
        EXPECT_TRUE(png->rect().contains(static_cast<int>(viewX), static_cast<int>(viewY)));
        EXPECT_GT(ReadFloatText(Cell(plan, row, column::kZoom)), 1.0f);
    }
}

// Two pins never share a marker: a click on one must not select the other.
TEST_F(DemoPlanTest, PinsHaveDistinctPositions) {
    const TestPlan plan = Load("testplans/demo_A.orv");
    for (int a = 2; a <= RowCount(plan); ++a) {
        for (int b = a + 1; b <= RowCount(plan); ++b) {
            const double dx = ReadIntegerText(Cell(plan, a, column::kTestX)) -
                              ReadIntegerText(Cell(plan, b, column::kTestX));
            const double dy = ReadIntegerText(Cell(plan, a, column::kTestY)) -
                              ReadIntegerText(Cell(plan, b, column::kTestY));
            EXPECT_GT(std::hypot(dx, dy), 30) << Cell(plan, a, column::kDescription) << " / "
                                              << Cell(plan, b, column::kDescription);
        }
    }
}

// The golden signatures are the known-good board's: 64 points on every pin, a grounded
// pin shows no voltage and the whole source current, the other pins a voltage.
TEST_F(DemoPlanTest, GoldenSignaturesShowTheKnownGoodBoard) {
    const TestPlan plan = Load("testplans/demo_B.orv");
    const auto rowOf = [&](const std::string& component, const std::string& pin) {
        for (int row = 2; row <= RowCount(plan); ++row) {
            if (Cell(plan, row, column::kComponent) == component &&
                Cell(plan, row, column::kPin) == pin)
                return row;
        }
        return 0;
    };
    struct Peak {
        float volts = 0;
        float amps = 0;
    };
    const auto peakAt = [&](int row) {
        std::array<float, kMaxStoredPoints + 1> x{};
        std::array<float, kMaxStoredPoints + 1> y{};
        const int count = LoadSignature(plan, row, kGoldenBlock, x, y);
        EXPECT_EQ(count, 64) << Cell(plan, row, column::kDescription);
        Peak peak;
        for (int i = 1; i <= count; ++i) {
            peak.volts = std::max(peak.volts, std::abs(x[static_cast<size_t>(i)]));
            peak.amps = std::max(peak.amps, std::abs(y[static_cast<size_t>(i)]));
        }
        return peak;
    };
    for (int row = 2; row <= RowCount(plan); ++row)
        peakAt(row);

    struct PinCase {
        const char* component;
        const char* pin;
        bool grounded;
    };
    const PinCase cases[] = {
        {"U1", "4", true},  {"U2", "7", true},  {"R2", "2", true},   {"U1", "3", false},
        {"R9", "1", false}, {"U2", "8", false}, {"U2", "13", false},
    };
    for (const PinCase& c : cases) {
        SCOPED_TRACE(std::string(c.component) + " pin " + c.pin);
        const int row = rowOf(c.component, c.pin);
        ASSERT_GT(row, 0);
        const Peak peak = peakAt(row);
        if (c.grounded) {
            EXPECT_LT(peak.volts, 0.02f);
            EXPECT_NEAR(peak.amps, 1e-3f, 0.1e-3f);  // 1 V peak behind 1 kohm
        } else {
            EXPECT_GT(peak.volts, 0.2f);
        }
    }
}

}  // namespace
}  // namespace orv
