// The settings file's layout: where each value stands, and what reading
// takes from bytes the writer never puts there.
#include <gtest/gtest.h>

#include <vector>

#include "SettingsImage.h"

namespace {

namespace si = settings_image;

std::vector<uint8_t> RecordBytes(const si::Bytes& b, int row) {
    const auto* rec = b.data() + 9 + 8 * row;
    return {rec, rec + 8};
}

TEST(SettingsImage, HeaderThenOneEightByteRecordPerRow) {
    EXPECT_EQ(si::FileSize, 809);
    si::SettingsFile f;
    f.options = {1, 2, 3, 4, 5, 6, 7, 255};
    f.range = 3;
    f.records[0] = {true, 1, 0, 280, 281};
    f.records[57] = {false, 50, 7, 1320, 2200};
    f.records[99] = {true, 0, 0, 0xFFFF, 0};
    const si::Bytes b = si::Encode(f);
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 9), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 255, 3}));
    struct Row {
        int row;
        std::vector<uint8_t> bytes;  // the spare byte 3 written as 0
    };
    const Row rows[] = {
        {0, {0x01, 0x01, 0x00, 0x00, 0x18, 0x01, 0x19, 0x01}},
        {57, {0x00, 0x32, 0x07, 0x00, 0x28, 0x05, 0x98, 0x08}},
        {99, {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}},
        {1, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& r : rows) EXPECT_EQ(RecordBytes(b, r.row), r.bytes) << "row " << r.row;
    EXPECT_EQ(si::Encode(si::Decode(b)), b);
}

TEST(SettingsImage, AnyNonZeroFlagReadsAsInUseAndTheSpareByteIsIgnored) {
    struct Case {
        uint8_t flag, spare;
        bool inUse;
    };
    const Case cases[] = {{0, 0xAA, false}, {1, 0, true}, {2, 0x55, true}, {0xFF, 0xFF, true}};
    for (const Case& c : cases) {
        si::Bytes b{};
        b[9 + 8 * 42] = c.flag;
        b[9 + 8 * 42 + 3] = c.spare;
        b[9 + 8 * 42 + 1] = 51;  // taken as it stands; the window says what a tone byte means
        const si::SettingsFile f = si::Decode(b);
        EXPECT_EQ(f.records[42].inUse, c.inUse) << int(c.flag);
        EXPECT_EQ(f.records[42].toneRx, 51);
        EXPECT_EQ(si::Encode(f)[9 + 8 * 42 + 3], 0);
    }
}

}  // namespace
