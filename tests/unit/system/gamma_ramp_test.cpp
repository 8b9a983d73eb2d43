#include <climits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "system/gamma_ramp.h"

struct RampCase {
    LONG level;
    std::vector<std::pair<int, WORD>> entries;  // index, expected value
    const char *why;
};

static const RampCase kRampCases[] = {
    {256, {{0, 0}, {1, 256}, {128, 32768}, {254, 65024}, {255, 0xFF00}}, "normal brightness tops out at 0xFF00, not 0xFFFF"},
    {258, {{1, 258}, {254, 65532}, {255, 0xFFFF}}, "only the entry past 0xFFFF clamps"},
    {2, {{0, 0}, {1, 2}, {255, 510}}, "a dim level is the plain product"},
    {0, {{0, 0}, {1, 0}, {255, 0}}, "level 0 is black"},
    {-2, {{0, 0}, {1, 0}, {128, 0}, {255, 0}}, "one step below black stays black, not white"},
    {INT_MIN + 1, {{1, 0}, {2, 0}, {255, 0}}, "a negative level is black even where its product wraps to 2"},
    {INT_MIN, {{1, 0}, {3, 0}, {255, 0}}, "the most negative level is black"},
    {0x00808081, {{254, 0xFFFF}, {255, 0xFFFF}}, "a positive product past 2^31 is bright, not negative"},
    {INT_MAX, {{0, 0}, {1, 0xFFFF}, {2, 0xFFFF}, {255, 0xFFFF}}, "the largest level clamps every entry but 0"},
    {0x10000001, {{1, 0xFFFF}, {16, 16}, {17, 0xFFFF}, {32, 32}, {255, 0xFFFF}}, "i x level wraps at 32 bits"},
};

TEST(GammaRamp, EntriesForEachLevel)
{
    for (const RampCase &test : kRampCases) {
        SCOPED_TRACE(test.why);
        GammaRamp ramp;
        memset(&ramp, 0xA5, sizeof ramp);  // poisoned: every entry must be written
        BuildGammaRamp(test.level, &ramp);
        for (auto [index, expected] : test.entries)
            EXPECT_EQ(ramp.red[index], expected) << "level " << test.level << ", entry " << index;
        for (int i = 0; i < GAMMA_RAMP_ENTRIES; ++i) {
            ASSERT_EQ(ramp.green[i], ramp.red[i]) << "entry " << i;
            ASSERT_EQ(ramp.blue[i], ramp.red[i]) << "entry " << i;
        }
    }
}
