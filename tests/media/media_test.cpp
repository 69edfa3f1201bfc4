#include "media/media.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <filesystem>
#include <map>
#include <regex>
#include <thread>

#include "core/files.h"
#include "core/wave_file.h"
#include "media/image_decoding.h"
#include "support/log_messages.h"
#include "support/wav_clip.h"
#include "support/working_dir.h"
#include "ui/sound.h"

namespace orv {
namespace {

using test::LogMessages;
using test::WavClip;

constexpr std::string_view kNoSoundLine =
    "ALLSoundStatus=#False, cannot load sounds - could be missing files OR no/bad sound "
    "system on WIN/PC";

std::string PngOf(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

class MediaTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        log_.dialogs = &dialogs_;
        ASSERT_TRUE(MakeFolder("graphics"));
        ASSERT_TRUE(MakeFolder("sounds"));
        ASSERT_TRUE(MakeFolder("settings"));
    }
    // The clips are read on the sound system's own thread; a test that ends while they
    // are still being read leaves them to the sound system's cache at exit, which the
    // leak checker reports.
    void TearDown() override {
        QElapsedTimer waited;
        waited.start();
        const auto loading = [&] {
            for (const ui::SoundClipPtr& clip : media_.sounds) {
                if (clip != nullptr && ui::IsLoading(*clip))
                    return true;
            }
            return false;
        };
        while (loading() && waited.elapsed() < 5000) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        InWorkingDir::TearDown();
    }
    static std::string Path(std::string_view name) { return std::string(name); }

    ui::ScriptedDialogs dialogs_;
    EventLog log_;
    Media media_;
};

TEST_F(MediaTest, MissingColourSchemeFileIsReportedAndStartUpGoesOn) {
    ASSERT_TRUE(CreateNewFile(Path(kPictureFiles[0]), PngOf(70, 23)));
    LoadGraphics(media_, log_);
    const std::string text = "settings/colours.txt Not found, using Default colour scheme";
    EXPECT_EQ(dialogs_.shown,
              (std::vector<ui::ShownBox>{
                  {ui::ShownBox::Kind::Message, "Error #0003", text, ui::BoxIcon::Error}}));
    EXPECT_EQ(LogMessages(), std::vector<std::string>{"Error #0003 " + text});
    EXPECT_EQ(PictureOf(media_, Picture::ButtonConnected).size(), QSize(70, 23));
}

TEST_F(MediaTest, AnEmptyColourSchemeFileIsEnough) {
    ASSERT_TRUE(CreateNewFile(std::string(kColourSchemeFile), ""));
    LoadGraphics(media_, log_);
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(LogMessages().empty());
}

TEST_F(MediaTest, PicturesThatCannotBeLoadedStayEmptyWithoutAMessage) {
    ASSERT_TRUE(CreateNewFile(std::string(kColourSchemeFile), ""));
    for (size_t i = 0; i < kPictureCount; ++i) {
        if (i == 3)
            continue;  // missing
        const std::string bytes = i == 7 ? PngOf(72, 23).substr(0, 40) : PngOf(10 + int(i), 5);
        ASSERT_TRUE(CreateNewFile(Path(kPictureFiles[i]), bytes));
    }
    LoadGraphics(media_, log_);
    for (size_t i = 0; i < kPictureCount; ++i) {
        const QImage& picture = PictureOf(media_, static_cast<Picture>(i));
        if (i == 3 || i == 7) {
            EXPECT_TRUE(picture.isNull()) << kPictureFiles[i];
        } else {
            // Each file lands in its own place of the table.
            EXPECT_EQ(picture.size(), QSize(10 + int(i), 5)) << kPictureFiles[i];
        }
        EXPECT_EQ(&PictureNamed(media_, kPictureFiles[i]), &picture);
    }
    EXPECT_TRUE(PictureNamed(media_, "graphics/unknown.png").isNull());
    EXPECT_TRUE(PictureNamed(media_, "graphics\\good_72x23.png").isNull());
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(LogMessages().empty());
}

TEST_F(MediaTest, LoadingAgainReplacesWhatWasLoaded) {
    ASSERT_TRUE(CreateNewFile(std::string(kColourSchemeFile), ""));
    ASSERT_TRUE(CreateNewFile(Path(kPictureFiles[6]), PngOf(72, 23)));
    LoadGraphics(media_, log_);
    ASSERT_FALSE(PictureOf(media_, Picture::Good72x23).isNull());
    std::filesystem::remove(Path(kPictureFiles[6]));
    LoadGraphics(media_, log_);
    EXPECT_TRUE(PictureOf(media_, Picture::Good72x23).isNull());
}

TEST_F(MediaTest, WithoutSoundNothingIsLoadedAndTheReasonIsLogged) {
    for (std::string_view file : kSoundFiles)
        ASSERT_TRUE(CreateNewFile(Path(file), WavClip()));
    LoadSounds(media_, false, log_);
    EXPECT_EQ(LogMessages(), std::vector<std::string>{std::string(kNoSoundLine)});
    for (const ui::SoundClipPtr& clip : media_.sounds)
        EXPECT_EQ(clip, nullptr);
    PlaySoundIfLoaded(media_, Sound::TestGood);  // silent, and no harm
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MediaTest, OnlyReadableClipsAreLoadedAndEachPlaysItsOwn) {
    ASSERT_TRUE(CreateNewFile(Path(kSoundFiles[0]), WavClip()));
    ASSERT_TRUE(CreateNewFile(Path(kSoundFiles[2]), WavClip()));
    ASSERT_TRUE(CreateNewFile(Path(kSoundFiles[3]), WavClip().substr(0, 100)));  // damaged
    LoadSounds(media_, true, log_);
    EXPECT_TRUE(LogMessages().empty());
    ASSERT_NE(media_.sounds[0], nullptr);
    EXPECT_EQ(media_.sounds[1], nullptr);  // missing
    ASSERT_NE(media_.sounds[2], nullptr);
    EXPECT_EQ(media_.sounds[3], nullptr);

    PlaySoundIfLoaded(media_, Sound::TestGood);
    PlaySoundIfLoaded(media_, Sound::TestGood);
    PlaySoundIfLoaded(media_, Sound::TestBad);
    PlaySoundIfLoaded(media_, Sound::CaptureComplete);
    EXPECT_EQ(ui::TimesPlayed(*media_.sounds[0]), 0);
    EXPECT_EQ(ui::TimesPlayed(*media_.sounds[2]), 2);
}

// The pictures and clips the build draws for the working directory: every name the
// program loads is among them, each picture decodes and fits the control showing it.
class ShippedMediaTest : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        const std::filesystem::path shipped = ORV_ASSETS_DIR;
        for (const char* folder : {"graphics", "sounds"}) {
            std::filesystem::copy(shipped / folder, folder,
                                  std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::overwrite_existing);
        }
        ASSERT_TRUE(CreateNewFile(std::string(kColourSchemeFile), ""));
    }
};

TEST_F(ShippedMediaTest, EveryPictureLoadsAndFitsItsPlace) {
    LoadGraphics(media_, log_);
    // Sizes the names do not give: the ribbon's controls that show these pictures.
    const std::map<std::string_view, QSize> controls = {
        {"graphics/button_connected.png", {70, 23}},
        {"graphics/button_no-connect.png", {70, 23}},
        {"graphics/buttonA_grey.png", {70, 23}},
        {"graphics/buttonA_yellow.png", {70, 23}},
        {"graphics/buttonB_grey.png", {70, 23}},
        {"graphics/buttonB_yellow.png", {70, 23}},
        {"graphics/singlecapture_green.png", {72, 23}},
        {"graphics/singlecapture_grey.png", {72, 23}},
        {"graphics/autocapture_yellow.png", {140, 23}},
        {"graphics/captureinprogress_green.png", {140, 23}},
        {"graphics/autotest_yellow.png", {140, 23}},
        {"graphics/testinprogress_green.png", {140, 23}},
    };
    const std::regex sizeInName(R"(_(\d+)x(\d+))");
    for (size_t i = 0; i < kPictureCount; ++i) {
        const std::string name(kPictureFiles[i]);
        SCOPED_TRACE(name);
        const QImage& picture = media_.pictures[i];
        ASSERT_FALSE(picture.isNull());
        std::smatch match;
        QSize limit;
        if (std::regex_search(name, match, sizeInName)) {
            limit = QSize(std::stoi(match[1]), std::stoi(match[2]));
        } else {
            ASSERT_TRUE(controls.contains(name));
            limit = controls.at(name);
        }
        EXPECT_LE(picture.width(), limit.width());
        EXPECT_LE(picture.height(), limit.height());
        // No blank picture: at least two colours.
        EXPECT_NE(picture.pixel(picture.width() / 2, picture.height() / 2), picture.pixel(0, 0));
    }
    const std::optional<QImage> placeholder = DecodeImageFile(kNoImagePicture);
    ASSERT_TRUE(placeholder.has_value());
    EXPECT_EQ(placeholder->width(), placeholder->height());  // the board view crops a square
}

TEST_F(ShippedMediaTest, EveryClipLoadsIsShortAndDiffersFromTheOthers) {
    LoadSounds(media_, true, log_);
    std::vector<std::string> clips;
    for (size_t i = 0; i < kSoundCount; ++i) {
        SCOPED_TRACE(kSoundFiles[i]);
        EXPECT_NE(media_.sounds[i], nullptr);
        const std::string bytes = ReadWholeFile(kSoundFiles[i]).value_or("");
        const std::optional<WaveFormat> format = ReadWaveFormat(bytes);
        ASSERT_TRUE(format.has_value());
        // A verdict sound must be over before the probe reaches the next pin.
        EXPECT_GT(format->Seconds(), 0.05);
        EXPECT_LT(format->Seconds(), 0.6);
        for (const std::string& other : clips)
            EXPECT_NE(bytes, other);
        clips.push_back(bytes);
    }
}

}  // namespace
}  // namespace orv
