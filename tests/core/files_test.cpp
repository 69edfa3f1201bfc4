#include "core/files.h"

#include "support/working_dir.h"

namespace orv {
namespace {

using test::FileText;
using test::InWorkingDir;

TEST(SplitLinesTest, ReadsEveryLineEnd) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},  // LF then CR is two line ends, not one
        {"\r\n", {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(NativePathTest, BackslashesOpenAsSlashes) {
    EXPECT_EQ(NativePath("testplans\\demo_A.orv"), "testplans/demo_A.orv");
    EXPECT_EQ(NativePath("a/b\\c"), "a/b/c");
}

class FilesTest : public InWorkingDir {};

TEST_F(FilesTest, StoredBackslashPathReachesTheFile) {
    ASSERT_TRUE(MakeFolder("testplans"));
    ASSERT_TRUE(MakeFolder("testplans"));  // an existing folder is no failure
    ASSERT_TRUE(CreateNewFile("testplans\\demo.orv", "x,y"));
    EXPECT_TRUE(CanOpenForReading("testplans/demo.orv"));
    EXPECT_EQ(FileText("testplans/demo.orv"), "x,y");
    EXPECT_FALSE(CreateNewFile("testplans/demo.orv", "other"));
    EXPECT_EQ(FileText("testplans/demo.orv"), "x,y");
}

TEST_F(FilesTest, ByteOrderMarkIsNotText) {
    ASSERT_TRUE(CreateNewFile("bom.txt", "\xEF\xBB\xBFkey=1\r\nnext"));
    EXPECT_EQ(*ReadTextLines("bom.txt"), (std::vector<std::string>{"key=1", "next"}));
    EXPECT_FALSE(ReadTextLines("absent.txt").has_value());
}

TEST_F(FilesTest, ReplaceLeavesOldOrNewNeverNone) {
    ASSERT_TRUE(CreateNewFile("target.txt", "old"));
    EXPECT_EQ(ReplaceFile("target.txt", "target.tmp", "new"), ReplaceResult::Replaced);
    EXPECT_EQ(FileText("target.txt"), "new");
    EXPECT_FALSE(FileExists("target.tmp"));

    // A temporary file that cannot be written leaves the target as it was.
    EXPECT_EQ(ReplaceFile("target.txt", "missing-folder/target.tmp", "newer"),
              ReplaceResult::CannotWriteTemp);
    EXPECT_EQ(FileText("target.txt"), "new");
}

TEST_F(FilesTest, FailedRenameKeepsTheNewContentInTheTemporaryFile) {
    ASSERT_TRUE(MakeFolder("target.txt"));  // a folder cannot be replaced by a file
    EXPECT_EQ(ReplaceFile("target.txt", "target.tmp", "new"), ReplaceResult::CannotRename);
    EXPECT_EQ(FileText("target.tmp"), "new");
}

TEST_F(FilesTest, AppendCreatesThenExtends) {
    EXPECT_TRUE(AppendToFile("log.txt", "a\r\n"));
    EXPECT_TRUE(AppendToFile("log.txt", "b\r\n"));
    EXPECT_EQ(FileText("log.txt"), "a\r\nb\r\n");
}

}  // namespace
}  // namespace orv
