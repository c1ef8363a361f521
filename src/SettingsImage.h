// What the 809 bytes of a settings file (*.tun) mean, for both editions.
//
//   0-7    the eight option track bars, TrackBar1 to TrackBar8 (not the
//          order of the option bytes in the radio's memory)
//   8      the operating range 0-3
//   9-808  one 8-byte record per channel row, row i at 9 + 8 * i:
//            0 in-use flag (1 / 0; any non-zero value reads as in use)
//            1 receive tone index, 2 transmit tone index, 3 spare (written 0)
//            4-5 receive channel code, 6-7 transmit channel code,
//            little-endian
// Every field holds the low bits of its value; nothing is checked here.
// The codes are the channel codes themselves, in every range.
#pragma once

#include <array>
#include <cstdint>

#include "RadioImage.h"

namespace settings_image {

constexpr int OptionCount = 8;
constexpr int RangeByte = 8;
constexpr int HeaderSize = 9;
constexpr int RecordSize = 8;
constexpr int FileSize = HeaderSize + radio_image::ChannelCount * RecordSize;  // 809

using Bytes = std::array<uint8_t, FileSize>;

struct SettingsRecord {
    bool inUse = false;
    uint8_t toneRx = 0;
    uint8_t toneTx = 0;
    uint16_t rxCode = 0;
    uint16_t txCode = 0;
};

struct SettingsFile {
    std::array<uint8_t, OptionCount> options{};
    uint8_t range = 0;
    std::array<SettingsRecord, radio_image::ChannelCount> records{};
};

Bytes Encode(const SettingsFile& file);
SettingsFile Decode(const Bytes& bytes);

}  // namespace settings_image
