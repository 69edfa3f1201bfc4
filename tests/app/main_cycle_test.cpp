// The main cycle inside the running program: the real start-up, the top-level loop and
// the communications thread, with the simulated instrument under a faster clock.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "app/running_program.h"
#include "core/files.h"
#include "display/qt_colour.h"
#include "display/ribbon_tables.h"
#include "display/scope_geometry.h"
#include "link/sim/simulated_driver.h"
#include "support/working_dir.h"
#include "testplan/test_plan.h"
#include "ui/controls.h"

namespace orv {
namespace {

// Plain pictures in colours that tell them apart on the controls that show them.
struct PictureFile {
    const char* file;
    QRgb colour;
};
constexpr PictureFile kPictures[] = {
    {"graphics/button_connected.png", qRgb(0, 200, 0)},
    {"graphics/button_no-connect.png", qRgb(200, 0, 0)},
    {"graphics/buttonA_yellow.png", qRgb(250, 250, 0)},
    {"graphics/buttonA_grey.png", qRgb(128, 128, 128)},
    {"graphics/buttonB_yellow.png", qRgb(240, 240, 10)},
    {"graphics/buttonB_grey.png", qRgb(100, 100, 100)},
};

QRgb PictureColour(std::string_view file) {
    for (const PictureFile& picture : kPictures) {
        if (file == picture.file)
            return picture.colour;  // opaque, as the pixels read back
    }
    return 0;
}

// The generator burst: registers 30-31, 0-5, 6, 7-15 and 16-23, one packet each.
constexpr std::uint64_t kBurstPackets = 2 + 6 + 1 + 9 + 8;

class MainCycleTest : public test::RunningProgram {
protected:
    void SetUp() override {
        RunningProgram::SetUp();
        ASSERT_TRUE(MakeFolder("graphics"));
        for (const PictureFile& picture : kPictures) {
            QImage image(12, 12, QImage::Format_RGB32);
            image.fill(picture.colour);
            ASSERT_TRUE(image.save(picture.file));
        }
    }

    QRgb ShownPicture(int control) {
        const QImage image = ui::ControlImage(*program_.gui, control);
        return image.isNull() ? 0 : image.pixel(0, 0);
    }

    std::string StatusLine() {
        return ui::ControlText(*program_.gui, kControlInstrumentStatusText);
    }

    bool LogHasLine(const std::string& text) {
        const auto lines = ReadTextLines(kLogFileName).value_or(std::vector<std::string>{});
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.ends_with("] " + text); });
    }

    QImage MainScope() { return ui::ControlImage(*program_.gui, kControlMainScope); }

    // Whether a pixel of `colour` lies within `reach` pixels of (x, y).
    static bool ColourNear(const QImage& image, int x, int y, QRgb colour, int reach) {
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const int px = x + dx;
                const int py = y + dy;
                if (image.valid(px, py) && (image.pixel(px, py) & RGB_MASK) == (colour & RGB_MASK))
                    return true;
            }
        }
        return false;
    }

    static int CountColourIn(const QImage& image, int x0, int y0, int x1, int y1, QRgb colour) {
        int count = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (image.valid(x, y) && (image.pixel(x, y) & RGB_MASK) == (colour & RGB_MASK))
                    ++count;
            }
        }
        return count;
    }
};

TEST_F(MainCycleTest, TheIndicatorConnectsAndDisconnects) {
    Start("ORV310");
    EXPECT_EQ(ShownPicture(kControlConnectionIndicator),
              PictureColour("graphics/button_no-connect.png"));
    EXPECT_EQ(StatusLine(), " USB disconnected");

    ClickConnectionIndicator();
    EXPECT_TRUE(LogHasLine("User pressed Connect (instrument=ORV310)"));
    ASSERT_TRUE(program_.link.state.Connected);
    EXPECT_TRUE(program_.link.state.AutoReconnectEnabled);
    EXPECT_FALSE(program_.link.state.ConnectInProgress);
    EXPECT_EQ(ShownPicture(kControlConnectionIndicator),
              PictureColour("graphics/button_connected.png"));
    // The connection leaves 200 mV applied; the next pass sends the 1 V asked for.
    EXPECT_EQ(InstrumentRegister(6), 200u);
    Pass();
    EXPECT_EQ(InstrumentRegister(6), 1000u);
    EXPECT_EQ(InstrumentRegister(8), 10000u);
    EXPECT_EQ(InstrumentRegister(14), 50u);

    ClickConnectionIndicator();
    EXPECT_TRUE(LogHasLine("User pressed Disconnect (instrument=ORV310)"));
    EXPECT_FALSE(program_.link.state.Connected);
    EXPECT_FALSE(program_.link.state.AutoReconnectEnabled);
    EXPECT_EQ(ShownPicture(kControlConnectionIndicator),
              PictureColour("graphics/button_no-connect.png"));
    EXPECT_EQ(StatusLine(), " USB disconnected");
}

struct IndicatorClick {
    const char* name;
    int dx;  // from the indicator's top-left corner; -1 width or height: its far edge
    int dy;
    bool hits;
};

TEST_F(MainCycleTest, TheIndicatorTakesClicksOnItsEdgesAndNoFurther) {
    Start("ORV310");
    const ui::Rect panel = ui::ControlRect(*program_.gui, kControlRibbonPanel);
    const ui::Rect indicator = ui::ControlRect(*program_.gui, kControlConnectionIndicator);
    const int w = indicator.width;
    const int h = indicator.height;
    const IndicatorClick clicks[] = {
        {"top-left corner", 0, 0, true},      {"bottom-right corner", w, h, true},
        {"left of it", -1, h / 2, false},     {"above it", w / 2, -1, false},
        {"right of it", w + 1, h / 2, false}, {"below it", w / 2, h + 1, false},
    };
    for (const IndicatorClick& click : clicks) {
        SCOPED_TRACE(click.name);
        ClickAt(panel.x + indicator.x + click.dx, panel.y + indicator.y + click.dy);
        EXPECT_EQ(program_.link.state.Connected.load(), click.hits);
        if (program_.link.state.Connected)
            ClickConnectionIndicator();
        ASSERT_FALSE(program_.link.state.Connected);
    }
}

TEST_F(MainCycleTest, AProbedResistorIsMeasuredAndDrawn) {
    Start("ORV310");
    sim::TouchCircuit(*program_.simulator, sim::Resistor(1000));
    Connect();
    // Frames sent before the 1 V request may still be queued: let them pass.
    PassFrames(10);

    // 1 V behind 10 kOhm into 1 kOhm: 1/11 V across the pin, 1/11 mA into it. The
    // current reads as the pin's voltage less the source's over the source resistance,
    // so a resistor's signature falls: Y = -X / R.
    const double volts = 1.0 * 1000 / 11000;
    const double amps = 1.0 / 11000;
    const SignatureBuffer& live = program_.signatures.LiveSignature;
    const int points = program_.link.generator.SignaturePointCount;
    ASSERT_EQ(points, 64);
    float maxX = 0;
    float maxY = 0;
    for (int i = 1; i <= points; ++i) {
        maxX = std::max(maxX, std::abs(live.X[i]));
        maxY = std::max(maxY, std::abs(live.Y[i]));
        EXPECT_NEAR(live.Y[i], -live.X[i] / 1000, 0.03 * amps) << "point " << i;
    }
    EXPECT_NEAR(maxX, volts, 0.03 * volts);
    EXPECT_NEAR(maxY, amps, 0.03 * amps);

    // The trace is the line through the centre from (-V, +I) to (+V, -I), at full scale
    // 1 V across and 1 V / effective resistance, positive currents downward.
    const QImage scope = MainScope();
    const Rect& area = program_.display.layout.mainScope;
    ASSERT_EQ(scope.size(), QSize(area.width, area.height));
    const ScopeGeometry g = MakeScopeGeometry(area.width, area.height);
    const double yRange = 1.0 / program_.link.generator.EffectiveResistance;
    const QRgb liveColour = ToQColor(program_.app.settings.ColourScopeXTraceLiveSig).rgb();
    for (const double t : {-0.9, -0.6, -0.3, 0.0, 0.3, 0.6, 0.9}) {
        SCOPED_TRACE(t);
        const int x = g.cx + static_cast<int>(std::lround(t * volts * g.hw));
        const int y = g.cy - static_cast<int>(std::lround(t * amps / yRange * g.hh));
        EXPECT_TRUE(ColourNear(scope, x, y, liveColour, 2));
        if (t != 0.0) {
            // Not the other diagonal.
            EXPECT_FALSE(ColourNear(scope, x, 2 * g.cy - y, liveColour, 2));
        }
    }
}

TEST_F(MainCycleTest, StabilityFollowsTheProbe) {
    Start("ORV310");
    sim::TouchCircuit(*program_.simulator, sim::Resistor(1000));
    Connect();
    const Measurement& m = program_.measurement;
    ASSERT_TRUE(LoopUntil([&] { return m.SignatureState == 1 && m.StableCount >= 5; }));
    const int count = m.StableCount;
    ASSERT_TRUE(LoopUntil([&] { return m.StableCount >= count + 10; }));
    EXPECT_EQ(m.SignatureState, 1);

    // The live status line is written in white right of the centre, near the bottom.
    const QImage scope = MainScope();
    const int w = scope.width();
    const int h = scope.height();
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_GT(CountColourIn(scope, w / 2 + 20, h - 45, w, h - 25, white), 0);

    // Another resistor: the signature moves away from the settled one first.
    sim::TouchCircuit(*program_.simulator, sim::Resistor(100));
    EXPECT_TRUE(LoopUntil([&] { return m.SignatureState == 2; }));
    EXPECT_TRUE(LoopUntil([&] { return m.SignatureState == 1 && m.StableCount >= 5; }));

    sim::LiftProbe(*program_.simulator);
    EXPECT_TRUE(LoopUntil([&] { return m.SignatureState == 0; }));
    PassFrames(10);
    EXPECT_EQ(m.SignatureState, 0);

    // Disconnected, the scope shows no live status line.
    ClickConnectionIndicator();
    ASSERT_FALSE(program_.link.state.Connected);
    Pass();  // the disconnection's redraw
    const QImage idle = MainScope();
    EXPECT_EQ(CountColourIn(idle, w / 2 + 20, h - 45, w, h - 25, white), 0);
}

struct ButtonCase {
    const char* name;
    sim::ProbeButton button;
    int indicator;
    bool MainCycleState::*pressed;
    bool MainCycleState::*otherPressed;
    const char* heldPicture;
    const char* idlePicture;
};

TEST_F(MainCycleTest, AHeldProbeButtonPressesOnce) {
    Start("ORV310");
    Connect();
    PassFrames(5);
    const ButtonCase cases[] = {
        {"A", sim::ProbeButton::A, kControlProbeButtonA, &MainCycleState::ProbeButtonAPressed,
         &MainCycleState::ProbeButtonBPressed, "graphics/buttonA_yellow.png",
         "graphics/buttonA_grey.png"},
        {"B", sim::ProbeButton::B, kControlProbeButtonB, &MainCycleState::ProbeButtonBPressed,
         &MainCycleState::ProbeButtonAPressed, "graphics/buttonB_yellow.png",
         "graphics/buttonB_grey.png"},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.name);
        // A press is raised by a frame and served by the next pass, so each press
        // leaves its flag set after exactly one pass.
        int presses = 0;
        int otherPresses = 0;
        const auto passFramesCounting = [&](std::uint64_t frames) {
            const std::uint64_t until = FramesSent() + frames;
            ASSERT_TRUE(LoopUntil([&] {
                presses += program_.cycle.*c.pressed ? 1 : 0;
                otherPresses += program_.cycle.*c.otherPressed ? 1 : 0;
                return FramesSent() >= until;
            }));
            Pass();
            presses += program_.cycle.*c.pressed ? 1 : 0;
            otherPresses += program_.cycle.*c.otherPressed ? 1 : 0;
        };
        for (int round = 1; round <= 2; ++round) {
            sim::SetButton(*program_.simulator, c.button, true);
            passFramesCounting(40);
            EXPECT_EQ(presses, round);
            EXPECT_EQ(ShownPicture(c.indicator), PictureColour(c.heldPicture));
            sim::SetButton(*program_.simulator, c.button, false);
            passFramesCounting(10);
            EXPECT_EQ(presses, round);
            EXPECT_EQ(ShownPicture(c.indicator), PictureColour(c.idlePicture));
        }
        EXPECT_EQ(otherPresses, 0);
    }
}

struct MiniScopeClick {
    int from;
    int miniScope;
    int to;
};

TEST_F(MainCycleTest, AMiniScopeClickMovesTheRecordWithinThePlan) {
    Start("ORV310", "ORV_DisplayView=9miniscopes\r\n");
    // A header and six pin records.
    TestPlan& plan = program_.testPlan;
    ResizeTable(plan, 7, kPlanColumns);
    for (int row = 2; row <= 7; ++row)
        SetCell(plan, row, column::kDescription, "R" + std::to_string(row - 1));
    Renumber(plan);

    const MiniScopeClick clicks[] = {
        {7, 9, 7},  // beyond the last record: stays on the last row
        {3, 1, 2},  // before the first record: the first record
        {2, 1, 2}, {4, 5, 4}, {2, 8, 5}, {6, 6, 7}, {5, 3, 3},
    };
    for (const MiniScopeClick& click : clicks) {
        SCOPED_TRACE(testing::Message()
                     << "record " << click.from << ", mini-scope " << click.miniScope);
        program_.position.TestPlanIndex = click.from;
        Pass();
        const Rect& area =
            program_.display.layout.miniScopes[static_cast<size_t>(click.miniScope - 1)];
        ASSERT_GT(area.width, 0);
        ClickAt(area.x + area.width / 2, area.y + area.height / 2);
        EXPECT_EQ(program_.position.TestPlanIndex, click.to);
    }
}

struct GeneratorChange {
    const char* name;
    std::function<void(GeneratorSettings&)> change;
    int reg;
};

TEST_F(MainCycleTest, OnlyAChangedRequestIsSentAndThenInFull) {
    Start("ORV320");
    Connect();
    ASSERT_FALSE(program_.link.state.SettingsSendPending);

    const GeneratorChange changes[] = {
        {"DC level", [](GeneratorSettings& r) { r.DcVolts = 2.5f; }, 20},
        {"DC mode", [](GeneratorSettings& r) { r.DcMode = 2; }, 22},
        {"scanner", [](GeneratorSettings& r) { r.ScanA = 3; }, 16},
        {"frequency", [](GeneratorSettings& r) { r.FrequencyHz = 200; }, 14},
        {"DC level back", [](GeneratorSettings& r) { r.DcVolts = 0; }, 20},
    };
    for (const GeneratorChange& c : changes) {
        SCOPED_TRACE(c.name);
        // Nothing goes out while the request equals what was applied.
        std::uint64_t writes = WritesAccepted();
        PassFrames(20);
        EXPECT_EQ(WritesAccepted(), writes);

        const std::uint32_t before = InstrumentRegister(c.reg);
        c.change(program_.app.GeneratorRequest);
        Pass();
        EXPECT_EQ(program_.app.GeneratorApplied, program_.app.GeneratorRequest);
        EXPECT_EQ(WritesAccepted(), writes + kBurstPackets);
        EXPECT_NE(InstrumentRegister(c.reg), before);
        writes = WritesAccepted();
        Pass();
        EXPECT_EQ(WritesAccepted(), writes);
    }
}

TEST_F(MainCycleTest, TheRailShownIgnoresSmallMoves) {
    Start("ORV310");
    Connect();
    // The instrument reads its 5.02 V rail with a little noise: the line stays put.
    std::set<std::string> shown;
    std::set<float> read;
    const std::uint64_t until = FramesSent() + 40;
    ASSERT_TRUE(LoopUntil([&] {
        shown.insert(StatusLine());
        read.insert(program_.cycle.RailVolts);
        return FramesSent() >= until;
    }));
    EXPECT_EQ(shown, (std::set<std::string>{"USB rail: 5.02V"}));
    EXPECT_GT(read.size(), 1u);

    {
        std::lock_guard lock(program_.simulator->mutex);
        program_.simulator->hardware.railVolts = 4.90;
    }
    EXPECT_TRUE(LoopUntil([&] { return StatusLine() == "USB rail: 4.90V"; }));
}

struct RailCase {
    const char* name;
    std::vector<std::uint16_t> readings;
    const char* shown;
};

TEST_F(MainCycleTest, TheRailShownMovesOnlyBeyondTenMillivolts) {
    Start("ORV310");
    // 3098 counts read 4.994 V; six counts are 9.7 mV, seven 11.3 mV.
    const RailCase cases[] = {
        {"first reading", {3098}, "USB rail: 4.99V"},
        {"six counts up", {3098, 3104}, "USB rail: 4.99V"},
        {"six counts down", {3098, 3092}, "USB rail: 4.99V"},
        {"seven counts up", {3098, 3105}, "USB rail: 5.01V"},
        {"seven counts down", {3098, 3091}, "USB rail: 4.98V"},
        {"small steps add up", {3098, 3104, 3110}, "USB rail: 5.01V"},
        {"back and forth", {3098, 3104, 3092, 3098}, "USB rail: 4.99V"},
    };
    for (const RailCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint16_t> readings = {0};  // away from every case's start
        readings.insert(readings.end(), c.readings.begin(), c.readings.end());
        for (const std::uint16_t raw : readings) {
            {
                std::lock_guard lock(program_.link.frameMutex);
                program_.link.frames.raw.RailRaw = raw;
                program_.link.frames.NewFrame = true;
            }
            Pass();
        }
        EXPECT_EQ(StatusLine(), c.shown);
    }
}

}  // namespace
}  // namespace orv
