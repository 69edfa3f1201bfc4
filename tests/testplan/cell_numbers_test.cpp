#include "testplan/cell_numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orv {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(CellNumbersTest, ReadsFloatTexts) {
    struct Case {
        const char* text;
        float value;
    };
    const Case cases[] = {
        {"0", 0.0f},
        {"1.5", 1.5f},
        {"0.1000000015", 0.1f},  // the ten-decimal text of a float reads back as that float
        {"-0.0021", -0.0021f},
        {"  \t2.5", 2.5f},
        {"+3", 3.0f},
        {"-.5", -0.5f},
        {"7.", 7.0f},
        {"12.5V", 12.5f},
        {"1e3", 1000.0f},
        {"2.5E-2", 0.025f},
        {"1e", 1.0f},
        {"+Infinity", kInf},
        {"-Infinity", -kInf},
        {"-INFINITY", -kInf},
        {"  +infinity", kInf},
        {"1e999", kInf},
        {"-1e999", -kInf},
        {"0.000000000000000000000000000000000000000000000000001", 0.0f},
        {"123456789012345678901234567890123456789012345678901234567890", kInf},
        {"", 0.0f},
        {"abc", 0.0f},
        {"- 5", 0.0f},
        {"+-5", 0.0f},
        {".", 0.0f},
        {"Yes", 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadFloatText(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isnan(ReadFloatText("NaN")));
    EXPECT_TRUE(std::isnan(ReadFloatText(" nan")));
}

TEST(CellNumbersTest, ReadsIntegerTexts) {
    struct Case {
        const char* text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"1000", 1000},
        {"-7", -7},
        {"+7", 7},
        {" \t42", 42},
        {"1.9", 1},
        {"64abc", 64},
        {"", 0},
        {"mVpk", 0},
        {"- 5", 0},
        {"9223372036854775807", 9223372036854775807},
        {"99999999999999999999", 9223372036854775807},
        {"-99999999999999999999", -9223372036854775807},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadIntegerText(c.text), c.value) << c.text;
}

TEST(CellNumbersTest, RoundsHalvesToEvenAndKeepsOddValuesInRange) {
    struct Case {
        double value;
        std::int64_t rounded;
    };
    const Case cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-2.5, -2},
        {999.6, 1000},
        {-0.4, 0},
        {std::nan(""), 0},
        {1e30, std::numeric_limits<std::int64_t>::max()},
        {-1e30, std::numeric_limits<std::int64_t>::min()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundToInteger(c.value), c.rounded) << c.value;
    EXPECT_EQ(IntegerText(-1234), "-1234");
}

}  // namespace
}  // namespace orv
