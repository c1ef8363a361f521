// Helpers for the tests that read and write the radio through the main
// window: memory images to load into the simulated radio, a record of
// everything the window shows, and a locale guard.
#pragma once

#include <QLocale>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "RadioImage.h"
#include "main_form.h"

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

// Everything the window shows of the radio's settings, one text per item.
inline std::vector<std::string> WindowState(const TForm1& f) {
    std::vector<std::string> s;
    s.push_back("range " + std::to_string(f.RadioGroup2->ItemIndex()) + " " + f.Panel1->Caption());
    for (int i = 0; i < RowCount; ++i) {
        s.push_back(std::to_string(i) + (f.FChBx[i]->Checked() ? " on " : " off ") +
                    std::to_string(f.FTrackRx[i]->Position()) + "/" + std::to_string(f.FUdRx[i]->Position()) +
                    " " + f.FEd1[i]->Text() + " " + std::to_string(f.FTrackTx[i]->Position()) + "/" +
                    std::to_string(f.FUdTx[i]->Position()) + " " + f.FEd2[i]->Text() + " " +
                    std::to_string(f.FCtcssRx[i]) + " " + f.FCtcssRxLabel[i]->Caption() + " " +
                    std::to_string(f.FCtcssTx[i]) + " " + f.FCtcssTxLabel[i]->Caption());
    }
    const std::pair<TTrackBar*, TLabel*> options[] = {
        {f.TrackBar1, f.Label9},  {f.TrackBar2, f.Label10}, {f.TrackBar3, f.Label11}, {f.TrackBar4, f.Label12},
        {f.TrackBar5, f.Label13}, {f.TrackBar6, f.Label19}, {f.TrackBar7, f.Label20}, {f.TrackBar8, f.Label22}};
    for (const auto& [bar, label] : options)
        s.push_back(bar->Name() + " " + std::to_string(bar->Position()) + " " + label->Caption());
    return s;
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
