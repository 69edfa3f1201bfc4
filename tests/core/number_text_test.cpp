#include "core/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

namespace orv {
namespace {

// The form defined by printf's "%.10f" with trailing zeros and point removed.
std::string Reference(float value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "+Infinity" : "-Infinity";
    char text[128];
    std::snprintf(text, sizeof text, "%.10f", static_cast<double>(value));
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

TEST(FloatTextTest, KnownValues) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0.0f, "0"},
        {1.5f, "1.5"},
        {0.1f, "0.1000000015"},
        {1000.0f, "1000"},
        {200.5f, "200.5"},
        {-2.25f, "-2.25"},
        {10000.0f, "10000"},
        {0.00048828125f, "0.0004882812"},  // a tie at the eleventh decimal rounds to even
        {std::numeric_limits<float>::infinity(), "+Infinity"},
        {-std::numeric_limits<float>::infinity(), "-Infinity"},
        {std::numeric_limits<float>::quiet_NaN(), "NaN"},
        {3.0e38f, "300000000549775575777803994281145270272"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFloatText(c.value), c.text) << c.text;
}

TEST(FloatTextTest, AgreesWithPrintfOnEveryKindOfFloat) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> bits;
    std::uniform_real_distribution<float> ordinary(-20000.0f, 20000.0f);
    for (int i = 0; i < 200000; ++i) {
        const float any = std::bit_cast<float>(bits(random));
        ASSERT_EQ(FormatFloatText(any), Reference(any)) << std::bit_cast<std::uint32_t>(any);
        const float usual = ordinary(random);
        ASSERT_EQ(FormatFloatText(usual), Reference(usual));
    }
}

}  // namespace
}  // namespace orv
