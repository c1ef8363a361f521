// Fuzz target: the radio's memory layout. Any 512 bytes decode to values
// within their ranges, and what the layout keeps comes back unchanged
// through its encoder. A shorter input is the start of an image whose other
// bytes are erased (0xFF); bytes past 512 are not part of it.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "RadioImage.h"
#include "fuzz_check.h"

namespace ri = radio_image;

namespace {

constexpr size_t ImageSize = 512;
constexpr int StoredCodeLimit = 1 << 10;  // ten bits per stored code
constexpr int Range3Offset = 1320;

void CheckCodes(const uint8_t* record, int offset) {
    const ri::Codes codes = ri::DecodeCodes(record, offset);
    FUZZ_CHECK(codes.rx >= offset && codes.rx < offset + StoredCodeLimit);
    FUZZ_CHECK(codes.tx >= offset && codes.tx < offset + StoredCodeLimit);

    // Encoding gives the stored bits back, bits 1-0 of bytes 1 and 2 as 0,
    // and those bytes decode to the same codes.
    const std::array<uint8_t, 3> bytes = ri::EncodeCodes(codes.rx, codes.tx, offset);
    FUZZ_CHECK(bytes[0] == record[0]);
    FUZZ_CHECK(bytes[1] == (record[1] & 0xFC));
    FUZZ_CHECK(bytes[2] == (record[2] & 0xFC));
    const ri::Codes again = ri::DecodeCodes(bytes.data(), offset);
    FUZZ_CHECK(again.rx == codes.rx && again.tx == codes.tx);
}

void CheckTone(uint8_t b) {
    const int index = ri::ToneIndex(b);
    FUZZ_CHECK(index >= 0 && index <= 50);
    if (b >= 1 && b <= 50) FUZZ_CHECK(index == b);
}

void CheckRecord(const uint8_t* record) {
    const bool allErased = std::all_of(record, record + ri::RecordSize,
                                       [](uint8_t b) { return b == 0xFF; });
    FUZZ_CHECK(ri::IsEmptyRecord(record) == allErased);
    CheckCodes(record, 0);
    CheckCodes(record, Range3Offset);
    CheckTone(record[3]);
    CheckTone(record[4]);
}

void CheckOptions(const uint8_t* image) {
    const uint8_t volume = image[ri::VolumeByte];
    FUZZ_CHECK(ri::VolumeFromByte(volume) >= 0 && ri::VolumeFromByte(volume) <= 9);
    if (volume <= 9) FUZZ_CHECK(ri::VolumeFromByte(volume) == volume);

    const uint8_t squelch = image[ri::SquelchByte];
    FUZZ_CHECK(ri::SquelchFromByte(squelch) >= 0 && ri::SquelchFromByte(squelch) <= 5);
    if (squelch <= 5) FUZZ_CHECK(ri::SquelchFromByte(squelch) == squelch);

    for (int at : {ri::DeviationByte, ri::SpeechByte, ri::GainByte, ri::CtcssTxLevelByte,
                   ri::CtcssRxLevelByte}) {
        const int level = ri::LevelFromByte(image[at]);
        FUZZ_CHECK(level >= 0 && level <= 31);
        if (image[at] <= 31) FUZZ_CHECK(level == image[at]);
    }

    // The range byte holds the range index + 1.
    const int range = ri::RangeFromByte(image[ri::RangeByte]);
    FUZZ_CHECK(range >= 0 && range <= 3);
    FUZZ_CHECK(ri::RangeFromByte(static_cast<uint8_t>(range + 1)) == range);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::array<uint8_t, ImageSize> image;
    image.fill(0xFF);
    std::copy_n(data, std::min(size, ImageSize), image.begin());

    for (int channel = 0; channel < ri::ChannelCount; ++channel)
        CheckRecord(image.data() + ri::RecordAddress(channel));
    CheckOptions(image.data());
    return 0;
}
