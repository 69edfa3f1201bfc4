#include "testplan/record_editing.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "testplan/cell_numbers.h"

namespace orv {
namespace {

// The header and one record per text, each record's User Text holding its text so
// that rows can be followed as they move.
TestPlan PlanOf(std::initializer_list<const char*> records) {
    TestPlan plan;
    ResizeTable(plan, static_cast<int>(records.size()) + 1, kPlanColumns);
    SetCell(plan, 1, column::kUserText, "head");
    int row = 2;
    for (const char* text : records)
        SetCell(plan, row++, column::kUserText, text);
    return plan;
}

std::vector<std::string> UserTexts(const TestPlan& plan) {
    std::vector<std::string> texts;
    for (int row = 1; row <= RowCount(plan); ++row)
        texts.push_back(Cell(plan, row, column::kUserText));
    return texts;
}

// The header, then components by name with pins 1, 2, ... within each run.
TestPlan ComponentsOf(std::initializer_list<std::pair<const char*, int>> components) {
    TestPlan plan;
    for (const auto& [name, pins] : components) {
        for (int pin = 1; pin <= pins; ++pin) {
            const int row = RowCount(plan) + 1;
            ResizeTable(plan, row, kPlanColumns);
            SetCell(plan, row, column::kComponent, name);
            SetCell(plan, row, column::kPin, std::to_string(pin));
            SetCell(plan, row, column::kDescription,
                    std::string(name) + ", Pin " + std::to_string(pin));
        }
    }
    return plan;
}

TEST(RecordEditingTest, InsertAndDeleteRowsAroundTheCurrentRecord) {
    struct Case {
        const char* name;
        std::function<void(TestPlan&, PlanPosition&)> edit;
        int from;
        std::vector<std::string> rows;
        int to;
    };
    const auto after = [](int n) {
        return [n](TestPlan& plan, PlanPosition& position) { InsertAfter(plan, position, n); };
    };
    const auto remove = [](int n) {
        return [n](TestPlan& plan, PlanPosition& position) { DeleteRows(plan, position, n); };
    };
    const Case cases[] = {
        {"insert after the last record", after(1), 4, {"head", "a", "b", "c", ""}, 5},
        {"insert after the header", after(2), 1, {"head", "", "", "a", "b", "c"}, 2},
        {"insert after, count 0 makes one", after(0), 2, {"head", "a", "", "b", "c"}, 3},
        {"insert after beyond the table appends", after(1), 7, {"head", "a", "b", "c", ""}, 5},
        {"insert before row 2", InsertBefore, 2, {"head", "", "a", "b", "c"}, 2},
        {"insert before the header does nothing", InsertBefore, 1, {"head", "a", "b", "c"}, 1},
        {"delete the last record", remove(1), 4, {"head", "a", "b"}, 3},
        {"delete more than there are", remove(9), 3, {"head", "a"}, 2},
        {"delete count 0 deletes one", remove(0), 2, {"head", "b", "c"}, 2},
        {"delete never takes the header", remove(3), 1, {"head", "a", "b", "c"}, 1},
        {"delete beyond the table", remove(1), 6, {"head", "a", "b", "c"}, 4},
    };
    for (const Case& c : cases) {
        TestPlan plan = PlanOf({"a", "b", "c"});
        PlanPosition position;
        position.TestPlanIndex = c.from;
        c.edit(plan, position);
        EXPECT_EQ(UserTexts(plan), c.rows) << c.name;
        EXPECT_EQ(position.TestPlanIndex, c.to) << c.name;
        EXPECT_EQ(ColCount(plan), kPlanColumns) << c.name;
    }
}

TEST(RecordEditingTest, OneInsertionOrDeletionIsAtMostAThousandRows) {
    TestPlan plan;
    PlanPosition position;
    InsertAfter(plan, position, 5000);
    EXPECT_EQ(RowCount(plan), 1001);
    InsertAfter(plan, position, 500);
    position.TestPlanIndex = 2;
    DeleteRows(plan, position, 1200);
    EXPECT_EQ(RowCount(plan), 501);
}

TEST(RecordEditingTest, TheComponentRunNeverReachesBackIntoTheHeader) {
    TestPlan plan = ComponentsOf({{"A", 2}, {"B", 1}, {"A", 1}});
    struct Case {
        int index;
        ComponentRun run;
    };
    // Rows: 1 header, 2 and 3 A, 4 B, 5 A.
    for (const Case& c : std::initializer_list<Case>{
             {1, {1, 1}}, {2, {2, 3}}, {3, {2, 3}}, {4, {4, 4}}, {5, {5, 5}}}) {
        EXPECT_EQ(EditorComponentRun(plan, c.index), c.run) << c.index;
    }
    // Blank records after the header share its empty name, but the run starts at row 2.
    plan = ComponentsOf({{"", 2}, {"A", 1}});
    EXPECT_EQ(EditorComponentRun(plan, 1), (ComponentRun{2, 3}));
    EXPECT_EQ(EditorComponentRun(plan, 3), (ComponentRun{2, 3}));
}

struct Deletion {
    TestPlan plan;
    PlanPosition position;
    std::vector<std::string> prompts;

    void Run(int index) {
        position.TestPlanIndex = index;
        DeleteWholeComponent(plan, position,
                             [this](const std::string& prompt) { prompts.push_back(prompt); });
    }
};

std::vector<std::string> Progress(std::initializer_list<int> records) {
    std::vector<std::string> prompts;
    for (const int r : records)
        prompts.push_back("deleting Component... (record: " + std::to_string(r) + " )");
    for (const char* end : {"delete done... rebuilding data", "data rebuilt", "data rebuilt", ""})
        prompts.emplace_back(end);
    return prompts;
}

TEST(DeleteWholeComponentTest, FortyRecordsShowProgressEveryThirdAndAreRenumbered) {
    Deletion d;
    d.plan = ComponentsOf({{"R1", 3}, {"IC5", 40}, {"C2", 2}});  // IC5: rows 5 to 44
    d.Run(20);
    EXPECT_EQ(d.prompts, Progress({7, 10, 13, 16, 19, 22, 25, 28, 31, 34, 37, 40, 43}));
    ASSERT_EQ(RowCount(d.plan), 6);
    EXPECT_EQ(d.position.TestPlanIndex, 5);
    EXPECT_EQ(Cell(d.plan, 4, column::kComponent), "R1");
    EXPECT_EQ(Cell(d.plan, 5, column::kComponent), "C2");
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(Cell(d.plan, row, column::kRecord), std::to_string(row));
}

TEST(DeleteWholeComponentTest, SmallLastAndOverlongComponents) {
    {
        Deletion d;  // a small component, progress after every record; the last one
        d.plan = ComponentsOf({{"R1", 2}, {"U1", 3}});
        d.Run(6);
        EXPECT_EQ(d.prompts, Progress({4, 5, 6}));
        EXPECT_EQ(RowCount(d.plan), 3);
        EXPECT_EQ(d.position.TestPlanIndex, 3);
    }
    {
        Deletion d;  // more records than one deletion takes: none stay behind
        d.plan = ComponentsOf({{"BUS", 1500}, {"U1", 1}});
        d.Run(700);
        EXPECT_EQ(d.prompts.size(), 15u + 4u);  // every 94th record, then the end
        ASSERT_EQ(RowCount(d.plan), 2);
        EXPECT_EQ(Cell(d.plan, 2, column::kComponent), "U1");
        EXPECT_EQ(Cell(d.plan, 2, column::kRecord), "2");
    }
    for (const int index : {1, 9}) {
        Deletion d;  // the header and rows beyond the table: nothing
        d.plan = ComponentsOf({{"R1", 2}});
        d.Run(index);
        EXPECT_TRUE(d.prompts.empty()) << index;
        EXPECT_EQ(RowCount(d.plan), 3) << index;
    }
}

TEST(RecordEditingTest, TheSingleRecordUpdateWritesEachFieldIntoItsColumn) {
    TestPlan plan = ComponentsOf({{"U1", 2}});
    RecordFields fields;
    const std::pair<std::string RecordFields::*, int> columns[] = {
        {&RecordFields::status, column::kStatus},
        {&RecordFields::description, column::kDescription},
        {&RecordFields::component, column::kComponent},
        {&RecordFields::pin, column::kPin},
        {&RecordFields::userText, column::kUserText},
        {&RecordFields::imageX, column::kViewX},
        {&RecordFields::imageY, column::kViewY},
        {&RecordFields::imageZoom, column::kZoom},
        {&RecordFields::testX, column::kTestX},
        {&RecordFields::testY, column::kTestY},
        {&RecordFields::scanSig, column::kScanSig},
        {&RecordFields::scanCom, column::kScanCom},
        {&RecordFields::signature, column::kSignature},
    };
    for (const auto& [field, col] : columns)
        fields.*field = " text of " + std::to_string(col);
    fields.pin = "";  // emptied too
    UpdateSingleRecord(plan, 3, fields);
    for (const auto& [field, col] : columns)
        EXPECT_EQ(Cell(plan, 3, col), fields.*field) << "column " << col;
    EXPECT_EQ(Cell(plan, 2, column::kComponent), "U1");
    UpdateSingleRecord(plan, 4, fields);  // beyond the table: nothing
    EXPECT_EQ(RowCount(plan), 3);
}

TEST(RecordEditingTest, PerComponentUpdatesChangeTheCurrentRunOnly) {
    TestPlan plan = ComponentsOf({{"IC7", 3}, {"IC8", 1}});  // IC7: rows 2 to 4
    SetCell(plan, 3, column::kPin, "14");
    RenameComponent(plan, 3, "U12");
    UpdateComponentView(plan, 2, "100", "200", "2.5");
    for (int row = 2; row <= 4; ++row) {
        EXPECT_EQ(Cell(plan, row, column::kComponent), "U12");
        EXPECT_EQ(Cell(plan, row, column::kDescription),
                  "U12, Pin " + Cell(plan, row, column::kPin));
        EXPECT_EQ(Cell(plan, row, column::kViewX), "100");
        EXPECT_EQ(Cell(plan, row, column::kViewY), "200");
        EXPECT_EQ(Cell(plan, row, column::kZoom), "2.5");
    }
    EXPECT_EQ(Cell(plan, 3, column::kDescription), "U12, Pin 14");
    UpdateComponentDescriptions(plan, 4, "quad op-amp");
    for (int row = 2; row <= 4; ++row)
        EXPECT_EQ(Cell(plan, row, column::kDescription), "quad op-amp");
    EXPECT_EQ(Cell(plan, 5, column::kComponent), "IC8");
    EXPECT_EQ(Cell(plan, 5, column::kDescription), "IC8, Pin 1");
    EXPECT_EQ(Cell(plan, 5, column::kViewX), "");

    // With the header current the run is the header alone: its cells stay.
    SetCell(plan, 1, column::kViewX, "640");
    RenameComponent(plan, 1, "X");
    UpdateComponentView(plan, 1, "1", "1", "1");
    UpdateComponentDescriptions(plan, 1, "x");
    EXPECT_EQ(Cell(plan, 1, column::kViewX), "640");
    EXPECT_EQ(Cell(plan, 1, column::kComponent), "");
    EXPECT_EQ(Cell(plan, 1, column::kDescription), "");
}

TEST(RecordEditingTest, AChosenImageBelowTheWorkingDirectoryIsStoredRelative) {
    struct Case {
        const char* chosen;
        const char* directory;
        const char* stored;
    };
    const Case cases[] = {
        {"/home/tech/orv/testplans/images/b.jpg", "/home/tech/orv", "testplans/images/b.jpg"},
        {"/home/tech/orv/b.jpg", "/home/tech/orv/", "b.jpg"},
        {"/HOME/Tech/ORV/b.jpg", "/home/tech/orv", "b.jpg"},
        {"C:\\Bench\\ORV\\testplans\\images\\b.jpg", "c:\\bench\\orv", "testplans\\images\\b.jpg"},
        {"C:\\Bench\\ORV\\b.jpg", "C:\\Bench\\ORV\\", "b.jpg"},
        {"C:/Bench/ORV/b.jpg", "C:\\Bench\\ORV", "b.jpg"},
        // Not below it: kept whole, also where the same letters appear further on.
        {"/home/tech/orvx/b.jpg", "/home/tech/orv", "/home/tech/orvx/b.jpg"},
        {"/mnt/backup/home/tech/orv/b.jpg", "/home/tech/orv", "/mnt/backup/home/tech/orv/b.jpg"},
        {"/home/tech/orv", "/home/tech/orv", "/home/tech/orv"},
        {"b.jpg", "/home/tech/orv", "b.jpg"},
        {"/b.jpg", "", "/b.jpg"},
        {"/srv/b.jpg", "/", "srv/b.jpg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelativeImagePath(c.chosen, c.directory), c.stored) << c.chosen;
}

TEST(RecordEditingTest, ABoardImageIsShownWholeAndRecordedInTheHeader) {
    struct Case {
        int width;
        int height;
        int x;
        int y;
    };
    for (const Case& c : std::initializer_list<Case>{
             {2001, 1001, 1000, 500}, {640, 480, 320, 240}, {1, 3, 1, 1}, {0, 0, 1, 1}}) {
        TestPlan plan = ComponentsOf({{"U1", 1}});
        EditorState editor;
        editor.zoom = 7;
        UseBoardImage(plan, editor, "testplans/images/board.png", c.width, c.height);
        EXPECT_EQ(editor.imageFile, "testplans/images/board.png");
        EXPECT_EQ(editor.viewX, c.x) << c.width;
        EXPECT_EQ(editor.viewY, c.y) << c.height;
        EXPECT_EQ(editor.zoom, 1.0f);
        EXPECT_EQ(Cell(plan, 1, column::kImageFile), "testplans/images/board.png");
        EXPECT_EQ(Cell(plan, 1, column::kViewX), std::to_string(c.x));
        EXPECT_EQ(Cell(plan, 1, column::kViewY), std::to_string(c.y));
        EXPECT_EQ(Cell(plan, 1, column::kZoom), "1");
        EXPECT_EQ(Cell(plan, 2, column::kViewX), "");
    }
}

TEST(EditorStateTest, LoadsTheCurrentRecordAndTheHeadersImage) {
    TestPlan plan = ComponentsOf({{"U1", 1}});
    SetCell(plan, 1, column::kImageFile, "board.jpg");
    SetCell(plan, 1, column::kViewX, "11");
    const std::pair<int, const char*> cells[] = {
        {column::kStatus, "Good"},   {column::kViewX, " 812"}, {column::kViewY, "-4x"},
        {column::kZoom, "2.75"},     {column::kTestX, "99.6"}, {column::kTestY, "77"},
        {column::kSignature, "Yes"},
    };
    for (const auto& [col, text] : cells)
        SetCell(plan, 2, col, text);
    EditorState editor;
    LoadEditorState(plan, 2, editor);
    EXPECT_EQ(editor.imageFile, "board.jpg");
    EXPECT_EQ(editor.statusCopy, "Good");
    EXPECT_EQ(editor.viewX, 812);
    EXPECT_EQ(editor.viewY, -4);
    EXPECT_EQ(editor.zoom, 2.75f);
    EXPECT_EQ(editor.marker, (ImagePoint{99, 77}));
    EXPECT_EQ(editor.signatureCopy, "Yes");

    LoadEditorState(plan, 1, editor);  // the header is a row like any other here
    EXPECT_EQ(editor.viewX, 11);
    EXPECT_EQ(editor.statusCopy, "");
    EXPECT_EQ(editor.zoom, 0.0f);

    editor.viewX = 5;
    SetCell(plan, 1, column::kImageFile, "other.jpg");
    LoadEditorState(plan, 3, editor);  // beyond the table: only the image file
    EXPECT_EQ(editor.imageFile, "other.jpg");
    EXPECT_EQ(editor.viewX, 5);
}

}  // namespace
}  // namespace orv
