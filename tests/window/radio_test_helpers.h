// Helpers for the tests that read and write the radio through the main
// window: memory images to load into the simulated radio, a record of
// everything the window shows, and a locale guard.
#pragma once

#include <QLocale>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "RadioImage.h"
#include "main_form_base.h"
#include "simradio/radio_sim.h"

namespace radio_test {

using Image = std::array<uint8_t, 512>;

// Five bytes of a channel in use, as the program writes them.
inline std::array<uint8_t, 5> ChannelRecord(int rx, int tx, int toneRx, int toneTx, int offset = 0) {
    const std::array<uint8_t, 3> f = radio_image::EncodeCodes(rx, tx, offset);
    return {f[0], f[1], f[2], static_cast<uint8_t>(toneRx), static_cast<uint8_t>(toneTx)};
}

inline void PutRecord(Image& image, int channel, const std::array<uint8_t, 5>& bytes) {
    for (int j = 0; j < 5; ++j) image[static_cast<size_t>(radio_image::RecordAddress(channel) + j)] = bytes[static_cast<size_t>(j)];
}

// All 0xFF but the range byte: every channel empty.
inline Image EmptyImage(uint8_t rangeByte) {
    Image m;
    m.fill(0xFF);
    m[radio_image::RangeByte] = rangeByte;
    return m;
}

// A radio in range 0 that holds a channel in every record (codes and tones
// varied), valid option bytes, and odd values in the unused bytes.
inline Image FullImage() {
    Image m = EmptyImage(1);
    for (int i = 0; i < RowCount; ++i)
        PutRecord(m, i, ChannelRecord((i * 7) % 280, (i * 13 + 5) % 280, i % 51, (i * 3) % 51));
    const uint8_t options[][2] = {{0, 0x5A}, {1, 7}, {2, 4}, {3, 20}, {4, 0xA5},
                                  {5, 9},    {6, 31}, {7, 1}, {8, 16}, {10, 200}, {11, 0x3C}};
    for (const auto& o : options) m[static_cast<size_t>(500 + o[0])] = o[1];
    return m;
}

// Every row as the window shows it, one text per row.
inline std::vector<std::string> RowsState(const TMainFormBase& f) {
    std::vector<std::string> s;
    for (int i = 0; i < RowCount; ++i) {
        s.push_back(std::to_string(i) + (f.FChBx[i]->Checked() ? " on " : " off ") +
                    std::to_string(f.FTrackRx[i]->Position()) + "/" + std::to_string(f.FUdRx[i]->Position()) +
                    " " + f.FEd1[i]->Text() + " " + std::to_string(f.FTrackTx[i]->Position()) + "/" +
                    std::to_string(f.FUdTx[i]->Position()) + " " + f.FEd2[i]->Text() + " " +
                    std::to_string(f.FCtcssRx[i]) + " " + f.FCtcssRxLabel[i]->Caption() + " " +
                    std::to_string(f.FCtcssTx[i]) + " " + f.FCtcssTxLabel[i]->Caption());
    }
    return s;
}

// One byte written to the radio, as the radio received it.
struct Written {
    int address;
    int value;
    bool operator==(const Written&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Written& w) {
    return os << "{" << w.address << ", 0x" << std::hex << w.value << std::dec << "}";
}

inline std::vector<Written> WritesTo(const sim::RadioSim& radio) {
    std::vector<Written> w;
    for (const sim::Frame& f : radio.Writes()) w.push_back({f.Address(), f.Value()});
    return w;
}

// Writes of a record's five bytes, the values as given.
inline void AddRecord(std::vector<Written>& w, int channel, const std::array<uint8_t, 5>& bytes) {
    for (int j = 0; j < 5; ++j) w.push_back({5 * channel + j, bytes[static_cast<size_t>(j)]});
}

// Sets the default locale for the life of the guard.
class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale& locale) : FSaved(QLocale()) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(FSaved); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    QLocale FSaved;
};

inline QLocale PointLocale() { return QLocale(QLocale::English, QLocale::UnitedStates); }

}  // namespace radio_test
