// Encoding and decoding settings files.
#include "SettingsImage.h"

namespace settings_image {

namespace {

constexpr int RecordAddress(int row) { return HeaderSize + RecordSize * row; }

}  // namespace

Bytes Encode(const SettingsFile& file) {
    Bytes bytes{};
    for (int k = 0; k < OptionCount; ++k) bytes[k] = file.options[k];
    bytes[RangeByte] = file.range;
    for (int i = 0; i < radio_image::ChannelCount; ++i) {
        const SettingsRecord& r = file.records[i];
        uint8_t* rec = bytes.data() + RecordAddress(i);
        rec[0] = r.inUse ? 1 : 0;
        rec[1] = r.toneRx;
        rec[2] = r.toneTx;
        rec[4] = static_cast<uint8_t>(r.rxCode & 0xFF);
        rec[5] = static_cast<uint8_t>(r.rxCode >> 8);
        rec[6] = static_cast<uint8_t>(r.txCode & 0xFF);
        rec[7] = static_cast<uint8_t>(r.txCode >> 8);
    }
    return bytes;
}

SettingsFile Decode(const Bytes& bytes) {
    SettingsFile file;
    for (int k = 0; k < OptionCount; ++k) file.options[k] = bytes[k];
    file.range = bytes[RangeByte];
    for (int i = 0; i < radio_image::ChannelCount; ++i) {
        const uint8_t* rec = bytes.data() + RecordAddress(i);
        file.records[i] = {rec[0] != 0, rec[1], rec[2], static_cast<uint16_t>(rec[4] | (rec[5] << 8)),
                           static_cast<uint16_t>(rec[6] | (rec[7] << 8))};
    }
    return file;
}

}  // namespace settings_image
