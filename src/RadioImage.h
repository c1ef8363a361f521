// What the 512 bytes of the radio's settings memory mean.
//
//   0-499  100 channel records of 5 bytes, channel i at 5 * i
//   500    not used            501  Volume (0-9, other values read as 5)
//   502    Squelcher Level (0-5, other values read as 3)
//   503    Level Deviation (low 5 bits)   504  not used
//   505-508 Speech Level, Gain on, Level CTCSS on transfer, on reception
//          (low 5 bits each)
//   509    range byte: range index + 1; read as (byte - 1) AND 3
//   510    Level analog SQL (whole byte)  511  not used
//
// A channel record: byte 0 = transmit code bits 9-6 (high nibble) and
// receive code bits 9-6 (low nibble); byte 1 = transmit bits 5-0 in bits
// 7-2; byte 2 = receive bits 5-0 in bits 7-2 (bits 1-0 of bytes 1 and 2 are
// written 0 and ignored when read); byte 3 / 4 = receive / transmit CTCSS
// tone (1-50; anything else is "Off"). All five bytes 0xFF: empty channel.
// The stored code is the channel code itself in ranges 0-2 and the code
// less 1320 (the lowest code of range 3) in range 3.
#pragma once

#include <array>
#include <cstdint>

namespace radio_image {

// The whole settings memory, read in one block.
constexpr int ImageSize = 512;
using MemoryImage = std::array<uint8_t, ImageSize>;

constexpr int ChannelCount = 100;
constexpr int RecordSize = 5;
constexpr int VolumeByte = 501;
constexpr int SquelchByte = 502;
constexpr int DeviationByte = 503;
constexpr int SpeechByte = 505;
constexpr int GainByte = 506;
constexpr int CtcssTxLevelByte = 507;
constexpr int CtcssRxLevelByte = 508;
constexpr int RangeByte = 509;
constexpr int AnalogSqlByte = 510;

constexpr int RecordAddress(int channel) { return RecordSize * channel; }

// All five bytes 0xFF (their AND is 0xFF).
bool IsEmptyRecord(const uint8_t* record);

struct Codes {
    int rx;
    int tx;
};

// The two channel codes of a record; offset is added to both (1320 in
// range 3, else 0).
Codes DecodeCodes(const uint8_t* record, int offset);

// The three frequency bytes for the two channel codes; offset is taken off
// both first. Bits 1-0 of bytes 1 and 2 are 0.
std::array<uint8_t, 3> EncodeCodes(int rxCode, int txCode, int offset);

// A stored tone byte as a tone index: 1-50 as it is, anything else 0 ("Off").
int ToneIndex(uint8_t b);

// The range index a range byte stands for: (byte - 1) AND 3.
int RangeFromByte(uint8_t b);

// Option values as read from their bytes.
int VolumeFromByte(uint8_t b);    // 0-9, else 5
int SquelchFromByte(uint8_t b);   // 0-5, else 3
int LevelFromByte(uint8_t b);     // low 5 bits

}  // namespace radio_image
