#pragma once

#include <string>

namespace orv::test {

// A short silent clip, 16-bit mono PCM, as a sound file holds it.
std::string WavClip();

}  // namespace orv::test
