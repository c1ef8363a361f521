// Decoding and encoding the radio's settings memory.
#include "RadioImage.h"

namespace radio_image {

bool IsEmptyRecord(const uint8_t* record) {
    return (record[0] & record[1] & record[2] & record[3] & record[4]) == 0xFF;
}

Codes DecodeCodes(const uint8_t* record, int offset) {
    const int rx = (record[0] & 0x0F) * 64 + (record[2] >> 2);
    const int tx = (record[0] >> 4) * 64 + (record[1] >> 2);
    return {rx + offset, tx + offset};
}

std::array<uint8_t, 3> EncodeCodes(int rxCode, int txCode, int offset) {
    // Ten bits of each stored code; a position always lies in its range, so
    // nothing is lost here for a real channel.
    const unsigned r = static_cast<unsigned>(rxCode - offset) & 0x3FF;
    const unsigned t = static_cast<unsigned>(txCode - offset) & 0x3FF;
    return {static_cast<uint8_t>(((t >> 6) << 4) | (r >> 6)),
            static_cast<uint8_t>((t & 0x3F) << 2),
            static_cast<uint8_t>((r & 0x3F) << 2)};
}

int ToneIndex(uint8_t b) { return (b >= 1 && b <= 50) ? b : 0; }

int RangeFromByte(uint8_t b) { return (static_cast<int>(b) - 1) & 3; }

int VolumeFromByte(uint8_t b) { return b <= 9 ? b : 5; }

int SquelchFromByte(uint8_t b) { return b <= 5 ? b : 3; }

int LevelFromByte(uint8_t b) { return b & 0x1F; }

}  // namespace radio_image
