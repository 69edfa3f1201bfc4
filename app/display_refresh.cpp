#include "app/display_refresh.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/files.h"
#include "display/record_trees.h"
#include "display/ribbon_tables.h"
#include "display/scope_style.h"
#include "display/ui_refresh.h"
#include "display/window_layout.h"
#include "engine/stability.h"
#include "link/generator_tables.h"
#include "testplan/cell_numbers.h"
#include "testplan/record_cells.h"
#include "ui/controls.h"

namespace orv {

namespace {

ResultBadges BadgesFrom(const Media& media, const ResultBadgeFiles& files) {
    return {PictureNamed(media, files.good), PictureNamed(media, files.bad),
            PictureNamed(media, files.untested), PictureNamed(media, files.noTest),
            PictureNamed(media, files.noSignature)};
}

SignatureView ViewOf(const SignatureBuffer& buffer, int count) {
    return {buffer.X, buffer.Y, count};
}

bool HasGolden(const TestPlan& plan, int row) {
    return CellView(plan, row, column::kSignature) == "Yes";
}

int LoadBlock(const TestPlan& plan, int row, int block, SignatureBuffer& into) {
    return LoadSignature(plan, row, block, into.X, into.Y);
}

ThumbnailRecord ThumbnailOf(const TestPlan& plan, int row, SignatureBuffer& golden,
                            SignatureBuffer& dut) {
    ThumbnailRecord record;
    if (!HasRow(plan, row))
        return record;
    record.peakMillivolts = IntegerCell(plan, row, column::kVoltage);
    record.sourceOhms = IntegerCell(plan, row, column::kResistance);
    record.frequencyHz = IntegerCell(plan, row, column::kFrequency);
    record.title = Cell(plan, row, column::kDescription);
    record.result = Cell(plan, row, column::kStatus);
    record.hasGolden = HasGolden(plan, row);
    record.golden = ViewOf(golden, LoadBlock(plan, row, kGoldenBlock, golden));
    record.dut = ViewOf(dut, LoadBlock(plan, row, kDutBlock, dut));
    return record;
}

int RoundedCell(const TestPlan& plan, int row, int col) {
    const float value = FloatCell(plan, row, col);
    return std::isfinite(value) ? static_cast<int>(std::lround(value)) : 0;
}

// The current record's stored signatures for the trace layer.
void LoadRecordTraces(DisplayState& display, const TestPlan& plan, int row) {
    display.recordGoldenCount = 0;
    display.recordDutCount = 0;
    display.recordShowsDut = false;
    if (!HasRow(plan, row) || row < kFirstRecordRow)
        return;
    display.recordGoldenCount = LoadBlock(plan, row, kGoldenBlock, display.recordGolden);
    display.recordDutCount = LoadBlock(plan, row, kDutBlock, display.recordDut);
    const std::string_view result = CellView(plan, row, column::kStatus);
    display.recordShowsDut = result == "Good" || result == "Bad";
}

void RenderBoardView(Program& program) {
    DisplayState& display = program.display;
    const TestPlan& plan = program.testPlan;
    const int current = program.position.TestPlanIndex;
    if (current < 1 || current > RowCount(plan))
        return;
    const BoardPinCache& pins = CurrentBoardPins(program);
    PcbViewInput in;
    in.width = display.layout.pcbView.width;
    in.height = display.layout.pcbView.height;
    in.cx = static_cast<int>(IntegerCell(plan, current, column::kViewX));
    in.cy = static_cast<int>(IntegerCell(plan, current, column::kViewY));
    in.zoom = FloatCell(plan, current, column::kZoom);
    in.px0 = RoundedCell(plan, current, column::kTestX);
    in.py0 = RoundedCell(plan, current, column::kTestY);
    in.imageName = Cell(plan, 1, column::kImageFile);
    Photograph(display.photo, in.imageName);
    const PhotoCache& photo = display.photo;
    in.photo = &photo.held.image;
    in.levels = &photo.held.levels;
    in.crosshairType = program.app.settings.PCBCrosshairType;
    in.pins = pins.drawn;
    RenderPcbView(display.pcb, in);
    ui::SetControlImage(*program.gui, kControlPcbView, display.pcb.image);
}

}  // namespace

std::vector<PcbPin> BoardPins(const TestPlan& plan) {
    std::vector<PcbPin> pins;
    const int rows = RowCount(plan);
    pins.reserve(static_cast<size_t>(std::max(rows - 1, 0)));
    // Records only: the header row holds no pin position.
    for (int row = kFirstRecordRow; row <= rows; ++row) {
        PcbPin pin;
        pin.row = row;
        pin.x = static_cast<int>(IntegerCell(plan, row, column::kTestX));
        pin.y = static_cast<int>(IntegerCell(plan, row, column::kTestY));
        pin.result = Cell(plan, row, column::kStatus);
        pin.hasGolden = HasGolden(plan, row);
        pin.pinOne = CellView(plan, row, column::kPin) == "1";
        pin.deleted = CellView(plan, row, column::kRecord) == "delete";
        pins.push_back(std::move(pin));
    }
    return pins;
}

const BoardPinCache& CurrentBoardPins(Program& program) {
    BoardPinCache& cache = program.display.boardPins;
    const TestPlan& plan = program.testPlan;
    if (!cache.made || cache.planRevision != plan.revision.count ||
        cache.planRows != RowCount(plan)) {
        const std::vector<PcbPin> pins = BoardPins(plan);
        cache.drawn = PinsToDraw(pins);
        cache.clickable = PinsToClick(pins);
        cache.planRevision = plan.revision.count;
        cache.planRows = RowCount(plan);
        cache.made = true;
    }
    return cache;
}

void PrepareBadges(Program& program) {
    program.display.scopeBadges = BadgesFrom(program.media, kScopeBadgeFiles);
    program.display.thumbnailBadges = BadgesFrom(program.media, kThumbnailBadgeFiles);
    program.display.treeIcons = TreeIconsFrom(program.media);
}

void LayOutMainWindow(Program& program) {
    const Settings& s = program.app.settings;
    program.display.layout = ApplyViewLayout(*program.gui, s.Mode, s.DisplayView);
}

void RestoreWindowPlace(Program& program) {
    ui::Gui& gui = *program.gui;
    if (const std::optional<WindowPlace> saved = LoadWindowPlace()) {
        PlaceMainWindow(gui, *saved);
        LayOutMainWindow(program);
    }
    program.display.windowPlace = MainWindowPlace(gui);
}

void RememberWindowPlace(Program& program) {
    const WindowPlace now = MainWindowPlace(*program.gui);
    if (now == program.display.windowPlace)
        return;
    program.display.windowPlace = now;
    StoreWindowPlace(program.log, now);
}

std::string CurrentPlanName(const Program& program) {
    std::error_code error;
    const std::string workingDirectory = std::filesystem::current_path(error).string();
    return PlanDisplayName(program.app.settings.TestPlanFileName,
                           error ? std::string() : workingDirectory);
}

void RefreshUiState(Program& program) {
    const std::string planName = CurrentPlanName(program);
    const UiRefreshInput in{program.app.settings,
                            program.app.ChosenInstrument,
                            program.app.GeneratorRequest,
                            program.working.WorkingMode,
                            program.testPlan,
                            program.position.TestPlanIndex,
                            planName,
                            program.media,
                            program.display.treeIcons};
    if (auto layout =
            RefreshUiState(*program.gui, in, program.display.sizing, program.display.recordTrees)) {
        program.display.layout = *layout;
        program.position.RecordChanged = true;
        program.display.traceRefreshRequested = true;
    }
}

void FillRecordTrees(Program& program) {
    const std::string planName = CurrentPlanName(program);
    ui::Gui& gui = *program.gui;
    const RecordTreeCache& trees = CurrentRecordTrees(program.display.recordTrees, program.testPlan,
                                                      planName, program.display.treeIcons);
    FillTestTree(gui, kControlTestTree, trees.test, program.position.TestPlanIndex);
    FillBadTree(gui, kControlBadTree, trees.bad, trees.badTooltips);
}

void ComposeRecordDisplays(Program& program) {
    DisplayState& display = program.display;
    const Settings& s = program.app.settings;
    const TestPlan& plan = program.testPlan;
    const GeneratorSettings& applied = program.app.GeneratorApplied;
    const int current = program.position.TestPlanIndex;
    const int rows = RowCount(plan);

    ScopeBackgroundInput background;
    background.width = display.layout.mainScope.width;
    background.height = display.layout.mainScope.height;
    background.labels.mode = s.Mode;
    background.labels.peakMillivolts = applied.PeakMillivolts;
    background.labels.sourceOhms = applied.SourceOhms;
    background.labels.frequencyHz = applied.FrequencyHz;
    background.labels.recordIndex = current;
    background.labels.rows = rows;
    background.labels.planFileName = s.TestPlanFileName;
    if (HasRow(plan, current)) {
        background.labels.record = {Cell(plan, current, column::kDescription),
                                    Cell(plan, current, column::kUserText),
                                    Cell(plan, current, column::kStatus), HasGolden(plan, current)};
    }
    LoadRecordTraces(display, plan, std::min(current, rows));
    background.style = ScopeStyleFrom(s);
    background.traceColours = TraceColoursFrom(s);
    background.badges = &display.scopeBadges;
    ComposeScopeBackground(display.scope, background);

    MiniScopeSetInput minis;
    for (int k = 1; k <= kMiniScopeCount; ++k) {
        const Rect& area = display.layout.miniScopes[static_cast<size_t>(k - 1)];
        minis.sizes[static_cast<size_t>(k - 1)] = {area.width, area.height};
        minis.records[static_cast<size_t>(k - 1)] = ThumbnailOf(
            plan, MiniScopeRecord(current, k), display.miniGolden[k - 1], display.miniDut[k - 1]);
    }
    minis.current = current;
    minis.rows = rows;
    minis.planFileName = s.TestPlanFileName;
    minis.style = ThumbnailStyleFrom(s);
    minis.badges = &display.thumbnailBadges;
    const auto thumbnails = ComposeMiniScopes(display.scope, minis);
    for (size_t i = 0; i < thumbnails.size(); ++i) {
        ui::SetControlImage(*program.gui, kControlMiniScopes[i], thumbnails[i]);
    }
    RenderBoardView(program);
}

void MeasureLiveSignature(Program& program) {
    Signatures& signatures = program.signatures;
    Measurement& measurement = program.measurement;
    const GeneratorState& generator = program.link.generator;
    CopySignature(signatures.LiveSignature, signatures.TraceBuffer);
    measurement.SignatureState =
        DetectSignatureState(signatures, measurement,
                             {program.app.GeneratorApplied.PeakMillivolts,
                              generator.EffectiveResistance, generator.SignaturePointCount},
                             program.app.settings);
}

void ComposeTraceDisplays(Program& program, bool connected) {
    DisplayState& display = program.display;
    const Settings& s = program.app.settings;
    Signatures& signatures = program.signatures;
    Measurement& measurement = program.measurement;
    const GeneratorState& generator = program.link.generator;
    const int points = generator.SignaturePointCount;

    TraceLayerInput traces;
    traces.mode = s.Mode;
    traces.xRange = program.app.GeneratorApplied.PeakMillivolts / 1000.0f;
    traces.yRange = traces.xRange / static_cast<float>(generator.EffectiveResistance);
    // Loaded from the plan on the record change, not parsed again for every frame.
    traces.golden = ViewOf(display.recordGolden, display.recordGoldenCount);
    traces.showDut = display.recordShowsDut;
    traces.dut = ViewOf(display.recordDut, display.recordDutCount);
    traces.frozenGolden = ViewOf(signatures.FrozenGolden, points);
    traces.frozenDut = ViewOf(signatures.FrozenDut, points);
    traces.connected = connected;
    traces.live = ViewOf(signatures.LiveSignature, points);
    traces.colours = TraceColoursFrom(s);
    if (connected) {
        traces.statusLine = LiveStatusLine(measurement.SignatureState, measurement.StableCount,
                                           measurement.DifferencePercent, s.GoldenVsLiveThreshold);
    }
    // A frame that draws the same picture (a lifted probe) is not shown again.
    if (!ComposeTraceLayer(display.scope, traces))
        return;
    const QRect& changed = display.scope.traceChanged;
    ui::SetControlImage(*program.gui, kControlMainScope, display.scope.traceLayer,
                        {changed.x(), changed.y(), changed.width(), changed.height()});
    if (!display.scope.centreMiniScope.isNull()) {
        ui::SetControlImage(*program.gui, kControlMiniScopes[kCentreMiniScope - 1],
                            display.scope.centreMiniScope);
    }
}

}  // namespace orv
