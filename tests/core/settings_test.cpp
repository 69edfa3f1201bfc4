#include "core/settings.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "core/files.h"
#include "support/short_write.h"
#include "support/working_dir.h"

namespace orv {
namespace {

using test::FileText;

class SettingsTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        log_.dialogs = &dialogs_;
    }
    void WriteSettingsFile(const std::string& text) {
        ASSERT_TRUE(AppendToFile(kSettingsFileName, text));
    }
    std::string Settings() { return FileText(std::string(kSettingsFileName)); }

    ui::ScriptedDialogs dialogs_;
    EventLog log_;
};

TEST(ParseSettingNumberTest, ReadsLeadingDigitsInEachBase) {
    struct Case {
        const char* text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"1531", 1531}, {"  \t42", 42},
        {"-7", -7},     {"+7", 7},
        {"$FF", 255},   {"$ff", 255},
        {"%101", 5},    {"-$10", -16},
        {"12abc", 12},  {"abc", 0},
        {"", 0},        {" - 5", 0},
        {"%102", 2},    {"16777215", 16777215},
        {"1.9", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseSettingNumber(c.text), c.value) << c.text;
}

TEST_F(SettingsTest, FirstStartWritesEveryDefaultInTableOrder) {
    AppState app;
    LoadAllSettings(app);
    const std::string expected =
        "ActiveInstrument=ORV310\r\nCheckWebsiteForUpdate=1\r\nOnlyLTSCheck=0\r\n"
        "DateOfLastUpdateCheck=1/1/2026\r\nMainWindowX=0\r\nMainWindowY=0\r\n"
        "MainWindowWidth=1531\r\nMainWindowHeight=710\r\nORV_ColourScope1Background=0\r\n"
        "ORV_ColourScope1Outline=34816\r\nORV_ColourScope1Graticule=34816\r\n"
        "ORV_ColourScope1Text=16777215\r\nORV_ColourScopeXCrosshair=34816\r\n"
        "ORV_ColourScopeXTraceLiveSig=255\r\nORV_ColourScopeXTraceGoldenSig=42495\r\n"
        "ORV_ColourScopeXTraceDUTSig=16711680\r\nORV_ColourBackground=1052688\r\n"
        "ORV_ColourPanel=7371891\r\nORV_ColourPanelWindow=2228224\r\n"
        "ORV_ColourPanelText=16777215\r\nORV_ColourHeader=0\r\nORV_ColourHeaderText=34816\r\n"
        "ORV_Mode=Advanced\r\nORV_DisplayView=2miniscopes+PCB+TestTree+BadTree\r\n"
        "ORV_TestPlanFileName=testplans\\demo_A.orv\r\n"
        "ORV_TestPlanFileNameRecent1=testplans\\demo_A.orv\r\n"
        "ORV_TestPlanFileNameRecent2=testplans\\demo_B.orv\r\n"
        "ORV_TestPlanFileNameRecent3=testplans\\demo_C.orv\r\n"
        "ORV_TestPlanFileNameRecent4=testplans\\demo_D.orv\r\n"
        "ORV_TestPlanFileNameRecent5=testplans\\demo_E.orv\r\n"
        "ORV_TestPlanFileNameRecent6=testplans\\demo_F.orv\r\n"
        "ORV_TestPlanFileNameRecent7=testplans\\demo_G.orv\r\n"
        "ORV_TestPlanFileNameRecent8=testplans\\demo_H.orv\r\n"
        "ORV_Scope1GraticuleMode=On\r\nORV_Scope1CrosshairMode=On\r\n"
        "ORV_ScopeXCrosshairMode=Off\r\nORV_PCBCrosshairType=1 line\r\n"
        "ORV_Scope1HorizontalDivisions=5\r\nORV_Scope1VerticalDivisions=5\r\n"
        "ORV_AllowSignatureOverwrite=0\r\nORV_OpenCircuitDetectThreshold=0.50%\r\n"
        "ORV_StableSignatureDetectThreshold=1.00%\r\nORV_SignatureCaptureDelay=10 cycles\r\n"
        "ORV_GoldenVsLiveThreshold=1.50%\r\n";
    EXPECT_EQ(Settings(), expected);
    EXPECT_EQ(app.ChosenInstrument, "ORV310");

    // A second load finds every key and appends nothing.
    LoadAllSettings(app);
    EXPECT_EQ(Settings(), expected);
}

TEST_F(SettingsTest, LoadTakesStoredValues) {
    WriteSettingsFile("ActiveInstrument=ORV340\r\nORV_ColourPanel=$FF\r\nORV_Mode=Basic\r\n");
    AppState app;
    LoadAllSettings(app);
    EXPECT_EQ(app.settings.ActiveInstrument, "ORV340");
    EXPECT_EQ(app.ChosenInstrument, "ORV340");
    EXPECT_EQ(app.settings.ColourPanel, 255);
    EXPECT_EQ(app.settings.Mode, "Basic");
    EXPECT_EQ(app.settings.MainWindowWidth, 1531);
}

TEST_F(SettingsTest, LookupCases) {
    struct Case {
        const char* name;
        const char* file;
        const char* value;
    };
    const Case cases[] = {
        {"plain", "ORV_Mode=Basic\r\n", "Basic"},
        {"other letter case", "orv_mode=Basic\r\n", "Basic"},
        {"last match wins", "ORV_Mode=Basic\r\nORV_Mode=Basic-Auto\r\n", "Basic-Auto"},
        {"text before the key stays", "x ORV_Mode=Basic\r\n", "x Basic"},
        {"no trimming", "ORV_Mode= Basic \r\n", " Basic "},
        {"LF and CR line ends", "A=1\nORV_Mode=Basic\rB=2", "Basic"},
        {"absent", "A=1\r\n", ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ReplaceFile(kSettingsFileName, "t", c.file) == ReplaceResult::Replaced);
        EXPECT_EQ(FindSettingValue(kSettingsFileName, "ORV_Mode"), c.value) << c.name;
    }
    EXPECT_EQ(FindSettingValue("no-such-file.txt", "ORV_Mode"), "");
}

TEST_F(SettingsTest, EmptyValueReadsAsAbsentAndAppendsTheDefault) {
    WriteSettingsFile("ORV_Mode=\r\n");
    EXPECT_EQ(ReadSettingText("ORV_Mode", "Advanced"), "Advanced");
    EXPECT_EQ(Settings(), "ORV_Mode=\r\nORV_Mode=Advanced\r\n");
    // From now on the appended line is the last match.
    EXPECT_EQ(ReadSettingText("ORV_Mode", "Basic"), "Advanced");
    EXPECT_EQ(ReadSettingNumber("ORV_AllowSignatureOverwrite", 0), 0);
    EXPECT_EQ(Settings(), "ORV_Mode=\r\nORV_Mode=Advanced\r\nORV_AllowSignatureOverwrite=0\r\n");
}

TEST_F(SettingsTest, WriteCases) {
    struct Case {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"replaces the value", "A=1\r\nORV_Mode=Basic\r\nB=2\r\n",
         "A=1\r\nORV_Mode=Advanced\r\nB=2\r\n"},
        {"respells the key", "orv_mode=Basic\r\n", "ORV_Mode=Advanced\r\n"},
        {"replaces every line", "ORV_Mode=Basic\r\nORV_Mode=Basic-Auto\r\n",
         "ORV_Mode=Advanced\r\nORV_Mode=Advanced\r\n"},
        {"does not add a key", "A=1\r\n", "A=1\r\n"},
        {"writes CR LF whatever it read", "A=1\nORV_Mode=Basic", "A=1\r\nORV_Mode=Advanced\r\n"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ReplaceFile(kSettingsFileName, "t", c.before) == ReplaceResult::Replaced);
        WriteSetting(log_, kSettingsFileName, "ORV_Mode", "Advanced");
        EXPECT_EQ(Settings(), c.after) << c.name;
        EXPECT_FALSE(FileExists(kSettingsTempFileName)) << c.name;
    }
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(SettingsTest, WriteWithoutFileDoesNothing) {
    WriteSetting(log_, kSettingsFileName, "ORV_Mode", "Basic");
    EXPECT_FALSE(FileExists(kSettingsFileName));
    EXPECT_FALSE(FileExists(kSettingsTempFileName));
}

TEST_F(SettingsTest, UncreatableTemporaryFileSkipsTheWriteSilently) {
    WriteSettingsFile("ORV_Mode=Basic\r\n");
    ASSERT_TRUE(MakeFolder(kSettingsTempFileName));
    WriteSetting(log_, kSettingsFileName, "ORV_Mode", "Advanced");
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_EQ(Settings(), "ORV_Mode=Basic\r\n");
}

TEST_F(SettingsTest, FailedReplaceRaisesError0009AndKeepsTheNewContentInTmp) {
    // A settings file on another file system cannot be replaced by a rename.
    struct stat here {
    }, there{};
    ASSERT_EQ(stat(".", &here), 0);
    if (stat("/dev/shm", &there) != 0 || there.st_dev == here.st_dev) {
        GTEST_SKIP() << "no second file system to rename across";
    }
    std::string folder = "/dev/shm/orv-settings-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string file = folder + "/ORV_settings.txt";
    ASSERT_TRUE(CreateNewFile(file, "ORV_Mode=Basic\r\n"));

    WriteSetting(log_, file, "ORV_Mode", "Advanced");

    const std::string message =
        "'ORV_settings.txt' error whilst trying to rename 'tmp.txt' to " + file;
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].title, "Error #0009");
    EXPECT_EQ(dialogs_.shown[0].text, message);
    EXPECT_NE(FileText("log.txt").find("] Error #0009 " + message + "\r\n"), std::string::npos);
    EXPECT_EQ(FileText(file), "ORV_Mode=Basic\r\n");
    EXPECT_EQ(FileText("tmp.txt"), "ORV_Mode=Advanced\r\n");
    std::filesystem::remove_all(folder);
}

TEST_F(SettingsTest, KilledWritesNeverLeaveTheFileMissingOrPartial) {
    AppState app;
    LoadAllSettings(app);
    const std::string before = Settings();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> pauseMicroseconds(0, 20000);
    for (int trial = 0; trial < 100; ++trial) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            EventLog log;
            for (int i = 0; i < 1000; ++i) {
                WriteSetting(log, kSettingsFileName, "ORV_Mode", i % 2 == 0 ? "Basic" : "Advanced");
            }
            _exit(0);
        }
        usleep(static_cast<useconds_t>(pauseMicroseconds(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        const std::string after = Settings();
        SCOPED_TRACE(trial);
        ASSERT_EQ(SplitLines(after).size(), 44u);
        const std::string mode = FindSettingValue(kSettingsFileName, "ORV_Mode");
        ASSERT_TRUE(mode == "Basic" || mode == "Advanced") << mode;
        std::string expected = before;
        const size_t at = expected.find("ORV_Mode=Advanced");
        expected.replace(at, 17, "ORV_Mode=" + mode);
        ASSERT_EQ(after, expected);
    }
}

TEST_F(SettingsTest, AMissingKeyAfterALastLineWithoutItsEndGetsALineOfItsOwn) {
    // A file edited by hand, its last line without CR LF.
    WriteSettingsFile("ActiveInstrument=ORV310\r\nORV_OpenCircuitDetectThreshold=0.50%");
    AppState app;
    LoadAllSettings(app);
    const std::vector<std::string> lines = SplitLines(Settings());
    ASSERT_EQ(lines.size(), 44u);
    EXPECT_EQ(lines[1], "ORV_OpenCircuitDetectThreshold=0.50%");
    EXPECT_EQ(lines[2], "CheckWebsiteForUpdate=1");
    EXPECT_EQ(Settings().substr(Settings().size() - 2), "\r\n");

    AppState next;
    next.settings.CheckWebsiteForUpdate = 0;
    LoadAllSettings(next);
    EXPECT_EQ(next.settings.CheckWebsiteForUpdate, 1);
    EXPECT_EQ(next.settings.OpenCircuitDetectThreshold, "0.50%");
    EXPECT_EQ(SplitLines(Settings()).size(), 44u);
}

TEST_F(SettingsTest, AnUnreadableFileIsNotRewrittenByTheDefaults) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    WriteSettingsFile("ORV_Mode=Basic\r\n");
    ASSERT_EQ(chmod(kSettingsFileName.data(), 0200), 0);
    EXPECT_EQ(ReadSettingText("ORV_DisplayView", "Default"), "Default");
    ASSERT_EQ(chmod(kSettingsFileName.data(), 0600), 0);
    EXPECT_EQ(Settings(), "ORV_Mode=Basic\r\n");
}

class SettingsOnAFullDiskTest : public SettingsTest,
                                public ::testing::WithParamInterface<test::ShortWriteKind> {};

// The full disk of a first start: the appends of the missing keys fail, then the
// next start, with room again, appends them. No line may be merged or cut.
TEST_P(SettingsOnAFullDiskTest, NoLineIsLeftHalfWritten) {
    test::ShortWrites disk;
    if (!disk.Prepare(GetParam()))
        GTEST_SKIP() << "a small file system needs root";
    {
        AppState first;
        LoadAllSettings(first);
    }
    std::vector<std::string> lines = SplitLines(Settings());
    lines.resize(34);  // up to ORV_Scope1GraticuleMode; ORV_Scope1CrosshairMode is next
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    // Room for 10 bytes: the next line would be cut after "ORV_Scope1".
    text = test::PadToPageEnd(text, "Padding=", 10);
    ASSERT_EQ(ReplaceFile(kSettingsFileName, kSettingsTempFileName, text), ReplaceResult::Replaced);

    disk.Squeeze(std::string(kSettingsFileName), 10);
    AppState full;
    LoadAllSettings(full);
    EXPECT_EQ(full.settings.Scope1CrosshairMode, "On");  // the default, in memory
    disk.Release();
    EXPECT_TRUE(Settings() == text) << Settings().size() << " bytes, " << text.size() << " before";

    AppState roomAgain;
    LoadAllSettings(roomAgain);
    const std::vector<std::string> after = SplitLines(Settings());
    ASSERT_EQ(after.size(), 45u);  // the 44 keys and the padding
    std::vector<std::string> keys;
    for (const std::string& line : after)
        keys.push_back(line.substr(0, line.find('=')));
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end()) << "a key twice";
    EXPECT_EQ(after[35], "ORV_Scope1CrosshairMode=On");
}

INSTANTIATE_TEST_SUITE_P(ShortWrites, SettingsOnAFullDiskTest,
                         ::testing::Values(test::ShortWriteKind::FileSizeLimit,
                                           test::ShortWriteKind::FullFileSystem),
                         [](const auto& info) { return test::ShortWriteName(info.param); });

}  // namespace
}  // namespace orv
