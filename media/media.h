#pragma once
// The program's pictures and sounds, read once while the main window is built and
// kept for the whole run. A missing file is not reported: its picture stays empty
// (the control shows none) and its sound stays silent.

#include <QImage>
#include <array>
#include <cstddef>
#include <string_view>

#include "core/event_log.h"
#include "core/sounds.h"
#include "ui/sound.h"

namespace orv {

// The pictures, in load order.
enum class Picture {
    ButtonConnected,
    ButtonNoConnect,
    ButtonAGrey,
    ButtonAYellow,
    ButtonBGrey,
    ButtonBYellow,
    Good72x23,
    GoodGrey72x23,
    Bad72x23,
    BadGrey72x23,
    NoSig72x23Pink,
    NoTest72x23,
    QuestionMark72x23Yellow,
    Good23x23,
    Bad23x23,
    NoSig23x23Pink,
    NoTest23x23,
    QuestionMark23x23Yellow,
    Block23x23Black,
    SingleCaptureGreen,
    SingleCaptureGrey,
    AutoCaptureYellow,
    CaptureInProgressGreen,
    AutoTestYellow,
    TestInProgressGreen,
};
inline constexpr size_t kPictureCount = 25;

inline constexpr std::array<std::string_view, kPictureCount> kPictureFiles = {
    "graphics/button_connected.png",
    "graphics/button_no-connect.png",
    "graphics/buttonA_grey.png",
    "graphics/buttonA_yellow.png",
    "graphics/buttonB_grey.png",
    "graphics/buttonB_yellow.png",
    "graphics/good_72x23.png",
    "graphics/good_grey_72x23.png",
    "graphics/bad_72x23.png",
    "graphics/bad_grey_72x23.png",
    "graphics/nosig_72x23_pink.png",
    "graphics/notest_72x23.png",
    "graphics/questionmark_72x23_yellow.png",
    "graphics/good_23x23.png",
    "graphics/bad_23x23.png",
    "graphics/nosig_23x23_pink.png",
    "graphics/notest_23x23.png",
    "graphics/questionmark_23x23_yellow.png",
    "graphics/block_23x23_black.png",
    "graphics/singlecapture_green.png",
    "graphics/singlecapture_grey.png",
    "graphics/autocapture_yellow.png",
    "graphics/captureinprogress_green.png",
    "graphics/autotest_yellow.png",
    "graphics/testinprogress_green.png",
};

// The board view's picture for a record without a photograph.
inline constexpr std::string_view kNoImagePicture = "graphics/noimage.png";

inline constexpr std::string_view kColourSchemeFile = "settings/colours.txt";

struct Media {
    std::array<QImage, kPictureCount> pictures;        // null where the file could not be loaded
    std::array<ui::SoundClipPtr, kSoundCount> sounds;  // null where not loaded
};

// Checks the colour-scheme file (Error #0003 when it cannot be opened) and loads every
// picture in table order.
void LoadGraphics(Media& media, EventLog& log);

// Loads the four sounds when sound can be played; otherwise logs why nothing is
// loaded.
void LoadSounds(Media& media, bool soundAvailable, EventLog& log);

// Starts the sound if it was loaded; returns at once.
void PlaySoundIfLoaded(Media& media, Sound sound);

const QImage& PictureOf(const Media& media, Picture picture);
// The picture loaded from `fileName` as the table spells it; null for a name that is
// not in the table or a file that could not be loaded.
const QImage& PictureNamed(const Media& media, std::string_view fileName);

}  // namespace orv
