#pragma once
// The test tree (components with their pins) and the bad tree (the pins judged Bad) of
// the open plan. Each entry carries the plan row it stands for, so that selecting it
// makes that record current. The contents are computed from the plan alone; the fill
// hands them to the tree controls, which change only what differs.

#include <QImage>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "media/media.h"
#include "testplan/test_plan.h"
#include "ui/controls.h"

namespace orv {

struct TreeIcons {
    QImage good;
    QImage bad;
    QImage noSignature;
    QImage noTest;
    QImage untested;
    QImage plan;
};
TreeIcons TreeIconsFrom(const Media& media);

// Entries and their icons, index for index; a null icon leaves the shown one as it is.
struct TreeContent {
    std::vector<ui::TreeEntry> entries;
    std::vector<QImage> icons;
};

// The plan's file name with the first occurrence of the working directory and its
// separator removed: "testplans\demo_A.orv" for a plan inside it.
std::string PlanDisplayName(std::string_view fileName, std::string_view workingDirectory);

// Records each tree lists: a board has a few thousand pins, and a plan of millions of
// rows would make every refresh and the tree itself slow. Past the limit one last
// level-0 entry, MoreRecordsText, counts the rest; its datum is the first record left
// out, so selecting it goes there.
inline constexpr int kMaxTreeRecords = 10000;
// "... 1990000 more records", or "... 12 more Bad records" for the bad tree.
std::string MoreRecordsText(int count, bool bad);

// Entry 0 the plan name (datum 2); then a level-0 entry per run of one component name
// and a level-1 entry per pin: "3" or "3  VCC" with the pin note. A pin without a golden
// signature shows the no-signature icon; otherwise its result's. A component shows,
// in this precedence, no signature, untested, bad, else good.
TreeContent TestTreeContent(const TestPlan& plan, std::string_view planName,
                            const TreeIcons& icons);

// Entry 0 the plan name; then "IC7, Pin 3" (or "IC7, Pin 3  VCC") per Bad record.
TreeContent BadTreeContent(const TestPlan& plan, std::string_view planName, const TreeIcons& icons);

// Both trees' contents and the plan's result counts, made again only when the plan (its
// revision or its row count), its name or the icons changed: every command refreshes
// the trees and the percentages, and a plan of millions of rows would otherwise be
// scanned whole each time.
struct RecordTreeCache {
    bool made = false;
    std::uint64_t planRevision = 0;
    int planRows = 0;
    std::string planName;
    std::array<qint64, 6> iconKeys{};
    TreeContent test;
    TreeContent bad;
    std::vector<std::string> badTooltips;
    int goodRecords = 0;  // records whose result is "Good"
    int badRecords = 0;   // and "Bad"
};
const RecordTreeCache& CurrentRecordTrees(RecordTreeCache& cache, const TestPlan& plan,
                                          std::string_view planName, const TreeIcons& icons);

// The entry to select so the tree follows the current record: the selection stays
// when its datum is the current record, else the last entry after the plan name whose
// datum is; with none, the selection stays.
int FollowedSelection(const std::vector<ui::TreeEntry>& entries, int selected, int current);

// The fills of both tree controls, in place.
void FillTestTree(ui::Gui& gui, int tree, const TreeContent& content, int current);
void FillBadTree(ui::Gui& gui, int tree, const TreeContent& content,
                 const std::vector<std::string>& tooltips);

}  // namespace orv
