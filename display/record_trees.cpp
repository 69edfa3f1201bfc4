#include "display/record_trees.h"

#include <algorithm>
#include <string>

#include "display/fault_tooltips.h"
#include "testplan/test_plan.h"
#include "ui/tree_tooltips.h"

namespace orv {

namespace {

// Results of one component's pins, for its summary icon.
struct PinCounts {
    int good = 0;
    int bad = 0;
    int untested = 0;
    int noTest = 0;
    int noSignature = 0;
};

const QImage& SummaryIcon(const PinCounts& counts, const TreeIcons& icons) {
    if (counts.noSignature >= 1)
        return icons.noSignature;
    if (counts.untested >= 1)
        return icons.untested;
    if (counts.bad >= 1)
        return icons.bad;
    return icons.good;
}

// A pin's icon, counted into its component; null for a result none of the four words.
QImage PinIcon(const TestPlan& plan, int row, const TreeIcons& icons, PinCounts& counts) {
    if (CellView(plan, row, column::kSignature) != "Yes") {
        ++counts.noSignature;
        return icons.noSignature;
    }
    const std::string_view result = CellView(plan, row, column::kStatus);
    if (result == "Good") {
        ++counts.good;
        return icons.good;
    }
    if (result == "Bad") {
        ++counts.bad;
        return icons.bad;
    }
    if (result == "Untested") {
        ++counts.untested;
        return icons.untested;
    }
    if (result == "NoTest") {
        ++counts.noTest;
        return icons.noTest;
    }
    return {};
}

std::string PinLabel(const TestPlan& plan, int row) {
    std::string label = Cell(plan, row, column::kPin);
    const std::string_view note = CellView(plan, row, column::kUserText);
    if (!note.empty()) {
        label += "  ";
        label += note;
    }
    return label;
}

TreeContent StartContent(std::string_view planName, const TreeIcons& icons, size_t reserve) {
    TreeContent content;
    content.entries.reserve(reserve);
    content.icons.reserve(reserve);
    content.entries.push_back({std::string(planName), 0, kFirstRecordRow});
    content.icons.push_back(icons.plan);
    return content;
}

}  // namespace

TreeIcons TreeIconsFrom(const Media& media) {
    return {PictureOf(media, Picture::Good23x23),
            PictureOf(media, Picture::Bad23x23),
            PictureOf(media, Picture::NoSig23x23Pink),
            PictureOf(media, Picture::NoTest23x23),
            PictureOf(media, Picture::QuestionMark23x23Yellow),
            PictureOf(media, Picture::Block23x23Black)};
}

std::string PlanDisplayName(std::string_view fileName, std::string_view workingDirectory) {
    std::string name(fileName);
    if (workingDirectory.empty())
        return name;
    for (const char separator : {'/', '\\'}) {
        const std::string prefix = std::string(workingDirectory) + separator;
        const size_t at = name.find(prefix);
        if (at != std::string::npos) {
            name.erase(at, prefix.size());
            break;
        }
    }
    return name;
}

std::string MoreRecordsText(int count, bool bad) {
    return "... " + std::to_string(count) + (bad ? " more Bad records" : " more records");
}

TreeContent TestTreeContent(const TestPlan& plan, std::string_view planName,
                            const TreeIcons& icons) {
    const int rows = std::min(RowCount(plan), kFirstRecordRow + kMaxTreeRecords - 1);
    TreeContent content = StartContent(planName, icons, static_cast<size_t>(2 * rows + 1));
    std::string_view previous;
    bool first = true;
    size_t component = 0;  // the open component's entry
    PinCounts counts;
    const auto closeComponent = [&] {
        if (component != 0)
            content.icons[component] = SummaryIcon(counts, icons);
        counts = {};
    };
    for (int row = kFirstRecordRow; row <= rows; ++row) {
        const std::string_view name = CellView(plan, row, column::kComponent);
        if (first || name != previous) {
            closeComponent();
            component = content.entries.size();
            content.entries.push_back({std::string(name), 0, row});
            content.icons.emplace_back();
            previous = name;
            first = false;
        }
        content.entries.push_back({PinLabel(plan, row), 1, row});
        content.icons.push_back(PinIcon(plan, row, icons, counts));
    }
    closeComponent();
    if (RowCount(plan) > rows) {
        content.entries.push_back({MoreRecordsText(RowCount(plan) - rows, false), 0, rows + 1});
        content.icons.emplace_back();
    }
    return content;
}

TreeContent BadTreeContent(const TestPlan& plan, std::string_view planName,
                           const TreeIcons& icons) {
    const int rows = RowCount(plan);
    TreeContent content = StartContent(planName, icons, 1);
    int listed = 0;
    int left = 0;
    int firstLeft = 0;
    for (int row = kFirstRecordRow; row <= rows; ++row) {
        if (CellView(plan, row, column::kStatus) != "Bad")
            continue;
        if (listed == kMaxTreeRecords) {
            if (left++ == 0)
                firstLeft = row;
            continue;
        }
        ++listed;
        std::string text = Cell(plan, row, column::kComponent) + ", Pin ";
        text += PinLabel(plan, row);
        content.entries.push_back({std::move(text), 0, row});
        content.icons.push_back(icons.bad);
    }
    if (left > 0) {
        content.entries.push_back({MoreRecordsText(left, true), 0, firstLeft});
        content.icons.push_back(icons.bad);
    }
    return content;
}

int FollowedSelection(const std::vector<ui::TreeEntry>& entries, int selected, int current) {
    const int count = static_cast<int>(entries.size());
    if (selected >= 0 && selected < count &&
        entries[static_cast<size_t>(selected)].datum == current)
        return selected;
    for (int i = count - 1; i >= 1; --i) {
        if (entries[static_cast<size_t>(i)].datum == current)
            return i;
    }
    return selected;
}

namespace {

std::array<qint64, 6> IconKeys(const TreeIcons& icons) {
    return {icons.good.cacheKey(),   icons.bad.cacheKey(),      icons.noSignature.cacheKey(),
            icons.noTest.cacheKey(), icons.untested.cacheKey(), icons.plan.cacheKey()};
}

}  // namespace

const RecordTreeCache& CurrentRecordTrees(RecordTreeCache& cache, const TestPlan& plan,
                                          std::string_view planName, const TreeIcons& icons) {
    const std::array<qint64, 6> iconKeys = IconKeys(icons);
    if (cache.made && cache.planRevision == plan.revision.count &&
        cache.planRows == RowCount(plan) && cache.planName == planName &&
        cache.iconKeys == iconKeys)
        return cache;
    cache.test = TestTreeContent(plan, planName, icons);
    cache.bad = BadTreeContent(plan, planName, icons);
    cache.badTooltips = BadTreeTooltips(plan, cache.bad.entries);
    cache.goodRecords = 0;
    cache.badRecords = 0;
    for (int row = kFirstRecordRow; row <= RowCount(plan); ++row) {
        const std::string_view result = CellView(plan, row, column::kStatus);
        cache.goodRecords += result == "Good" ? 1 : 0;
        cache.badRecords += result == "Bad" ? 1 : 0;
    }
    cache.planRevision = plan.revision.count;
    cache.planRows = RowCount(plan);
    cache.planName = std::string(planName);
    cache.iconKeys = iconKeys;
    cache.made = true;
    return cache;
}

void FillTestTree(ui::Gui& gui, int tree, const TreeContent& content, int current) {
    ui::SetTreeEntries(gui, tree, content.entries, content.icons);
    const int selected = ui::TreeSelection(gui, tree);
    const int followed = FollowedSelection(content.entries, selected, current);
    if (followed != selected)
        ui::SetTreeSelection(gui, tree, followed);
}

void FillBadTree(ui::Gui& gui, int tree, const TreeContent& content,
                 const std::vector<std::string>& tooltips) {
    ui::SetTreeEntries(gui, tree, content.entries, content.icons);
    ui::SetTreeTooltips(gui, tree, tooltips);
}

}  // namespace orv
