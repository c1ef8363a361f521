// The layout of the radio's 512-byte settings memory: channel records, the
// empty record, the tone, range and option bytes, and a randomised sweep
// over many images that every decoded value is one the window can show.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "RadioImage.h"

namespace ri = radio_image;

namespace {

using Record = std::array<uint8_t, 5>;

struct Example {
    const char* what;
    int offset;  // 1320 in range 3, else 0
    int rx, tx;
    std::array<uint8_t, 3> bytes;
};

const Example Examples[] = {
    {"range 1, 40.000 / 40.500", 0, 280, 300, {0x44, 0xB0, 0x60}},
    {"range 3, 66.000 / 88.000", 1320, 1320, 2200, {0xD0, 0xC0, 0x00}},
    {"range 3, 66.000 both", 1320, 1320, 1320, {0x00, 0x00, 0x00}},
    {"range 3, 88.000 both", 1320, 2200, 2200, {0xDD, 0xC0, 0xC0}},
    {"range 0, 33.000 / 39.975", 0, 0, 279, {0x40, 0x5C, 0x00}},
    {"range 2, 57.500 both", 0, 980, 980, {0xFF, 0x50, 0x50}},
};

}  // namespace

TEST(RadioImageLayout, ChannelRecordsEncodeAndDecodeTheWorkedExamples) {
    for (const Example& e : Examples) {
        SCOPED_TRACE(e.what);
        EXPECT_EQ(ri::EncodeCodes(e.rx, e.tx, e.offset), e.bytes);
        const Record record = {e.bytes[0], e.bytes[1], e.bytes[2], 0x01, 0x00};
        EXPECT_FALSE(ri::IsEmptyRecord(record.data()));
        const ri::Codes codes = ri::DecodeCodes(record.data(), e.offset);
        EXPECT_EQ(codes.rx, e.rx);
        EXPECT_EQ(codes.tx, e.tx);
    }
    EXPECT_EQ(ri::RecordAddress(0), 0);
    EXPECT_EQ(ri::RecordAddress(99), 495);
    // The option and range bytes sit after the last record.
    EXPECT_EQ(ri::RecordAddress(ri::ChannelCount), 500);
}

TEST(RadioImageLayout, EmptyRecordsAndTheIgnoredLowBits) {
    const Record empty = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(ri::IsEmptyRecord(empty.data()));
    // Any byte that is not 0xFF makes the record a channel.
    for (int j = 0; j < 5; ++j) {
        Record r = empty;
        r[static_cast<size_t>(j)] = 0xFE;
        EXPECT_FALSE(ri::IsEmptyRecord(r.data())) << "byte " << j;
    }
    // Frequency bytes all 0xFF with a tone set: codes 1023, or 2343 in range 3.
    const Record toneOnly = {0xFF, 0xFF, 0xFF, 0x01, 0xFF};
    EXPECT_FALSE(ri::IsEmptyRecord(toneOnly.data()));
    EXPECT_EQ(ri::DecodeCodes(toneOnly.data(), 0).rx, 1023);
    EXPECT_EQ(ri::DecodeCodes(toneOnly.data(), 0).tx, 1023);
    EXPECT_EQ(ri::DecodeCodes(toneOnly.data(), 1320).rx, 2343);

    // Bits 1-0 of bytes 1 and 2 do not take part in the codes and are
    // written 0, so a record the program writes is never empty.
    const Record lowBits = {0x44, 0xB3, 0x61, 0x00, 0x00};
    EXPECT_EQ(ri::DecodeCodes(lowBits.data(), 0).rx, 280);
    EXPECT_EQ(ri::DecodeCodes(lowBits.data(), 0).tx, 300);
    EXPECT_EQ(ri::EncodeCodes(1023, 1023, 0), (std::array<uint8_t, 3>{0xFF, 0xFC, 0xFC}));
}

TEST(RadioImageLayout, ToneRangeAndOptionBytesReadWithTheirDefaults) {
    EXPECT_EQ(ri::ToneIndex(0), 0);
    EXPECT_EQ(ri::ToneIndex(1), 1);
    EXPECT_EQ(ri::ToneIndex(50), 50);
    EXPECT_EQ(ri::ToneIndex(51), 0);
    EXPECT_EQ(ri::ToneIndex(0x80), 0);
    EXPECT_EQ(ri::ToneIndex(0xFF), 0);

    const int rangeOf[][2] = {{0, 3}, {1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 0}, {0xFF, 2}};
    for (const auto& c : rangeOf) EXPECT_EQ(ri::RangeFromByte(static_cast<uint8_t>(c[0])), c[1]) << c[0];

    EXPECT_EQ(ri::VolumeFromByte(0), 0);
    EXPECT_EQ(ri::VolumeFromByte(9), 9);
    EXPECT_EQ(ri::VolumeFromByte(10), 5);
    EXPECT_EQ(ri::VolumeFromByte(12), 5);
    EXPECT_EQ(ri::VolumeFromByte(0xF0), 5);
    EXPECT_EQ(ri::SquelchFromByte(5), 5);
    EXPECT_EQ(ri::SquelchFromByte(6), 3);
    EXPECT_EQ(ri::SquelchFromByte(0xFF), 3);
    EXPECT_EQ(ri::LevelFromByte(0xE5), 5);
    EXPECT_EQ(ri::LevelFromByte(0x3F), 31);
    EXPECT_EQ(ri::LevelFromByte(0x20), 0);

    EXPECT_EQ(ri::VolumeByte, 501);
    EXPECT_EQ(ri::SquelchByte, 502);
    EXPECT_EQ(ri::DeviationByte, 503);
    EXPECT_EQ(ri::SpeechByte, 505);
    EXPECT_EQ(ri::GainByte, 506);
    EXPECT_EQ(ri::CtcssTxLevelByte, 507);
    EXPECT_EQ(ri::CtcssRxLevelByte, 508);
    EXPECT_EQ(ri::RangeByte, 509);
    EXPECT_EQ(ri::AnalogSqlByte, 510);
}

// Images of random bytes, with empty records and the edge values mixed in
// more often than chance would: every record decodes to codes of 10 bits
// (plus the offset), tones 0-50, and re-encoding the codes gives the record
// back with bits 1-0 of bytes 1 and 2 cleared; every option reads within
// its track bar's limits and every range byte to one of the four ranges.
TEST(RadioImageLayout, RandomImagesDecodeToValuesInRange) {
    constexpr int ImageCount = 50000;
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> pick(0, 99);
    const uint8_t edges[] = {0x00, 0x01, 0x03, 0x04, 0x05, 0x06, 0x09, 0x0A, 0x1F, 0x20,
                             0x32, 0x33, 0x7F, 0x80, 0xFC, 0xFE, 0xFF};
    auto randomByte = [&]() -> uint8_t {
        if (pick(rng) < 30) return edges[static_cast<size_t>(pick(rng)) % sizeof edges];
        return static_cast<uint8_t>(anyByte(rng));
    };

    long records = 0, emptyRecords = 0, failures = 0;
    std::array<uint8_t, 512> image;
    for (int n = 0; n < ImageCount; ++n) {
        for (uint8_t& b : image) b = randomByte();
        for (int i = 0; i < ri::ChannelCount; ++i)
            if (pick(rng) < 10)
                for (int j = 0; j < 5; ++j) image[static_cast<size_t>(ri::RecordAddress(i) + j)] = 0xFF;

        const int range = ri::RangeFromByte(image[ri::RangeByte]);
        if (range < 0 || range > 3) ++failures;
        const int offset = range == 3 ? 1320 : 0;

        for (int i = 0; i < ri::ChannelCount; ++i) {
            const uint8_t* r = image.data() + ri::RecordAddress(i);
            ++records;
            if (ri::IsEmptyRecord(r)) {
                ++emptyRecords;
                continue;
            }
            const ri::Codes c = ri::DecodeCodes(r, offset);
            if (c.rx < offset || c.rx > offset + 1023 || c.tx < offset || c.tx > offset + 1023) ++failures;
            const std::array<uint8_t, 3> back = ri::EncodeCodes(c.rx, c.tx, offset);
            if (back[0] != r[0] || back[1] != (r[1] & 0xFC) || back[2] != (r[2] & 0xFC)) ++failures;
            for (int t = 3; t < 5; ++t) {
                const int tone = ri::ToneIndex(r[t]);
                if (tone < 0 || tone > 50 || (tone != 0 && tone != r[t])) ++failures;
            }
        }
        const int volume = ri::VolumeFromByte(image[ri::VolumeByte]);
        const int squelch = ri::SquelchFromByte(image[ri::SquelchByte]);
        if (volume < 0 || volume > 9 || squelch < 0 || squelch > 5) ++failures;
        for (int address : {ri::DeviationByte, ri::SpeechByte, ri::GainByte, ri::CtcssTxLevelByte,
                            ri::CtcssRxLevelByte}) {
            const int level = ri::LevelFromByte(image[static_cast<size_t>(address)]);
            if (level < 0 || level > 31) ++failures;
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(records, 100L * ImageCount);
    // The mix really reached both kinds of record.
    EXPECT_GT(emptyRecords, records / 20);
    EXPECT_LT(emptyRecords, records / 5);
}
