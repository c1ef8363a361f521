// The full edition's settings files: the header holds the eight option
// track bars (bytes 0-7) and the range (byte 8) before the channel records.
#include "main_form.h"

namespace {

constexpr int OptionCount = 8;

}  // namespace

int TForm1::SaveSettings() {
    SettingsBuffer buffer{};
    TTrackBar* const options[OptionCount] = {TrackBar1, TrackBar2, TrackBar3, TrackBar4,
                                             TrackBar5, TrackBar6, TrackBar7, TrackBar8};
    for (int k = 0; k < OptionCount; ++k) buffer[k] = static_cast<uint8_t>(options[k]->Position());
    buffer[8] = static_cast<uint8_t>(RadioGroup2->ItemIndex());
    FillChannelRecords(buffer);
    return WriteSettingsFile(buffer);
}

int TForm1::LoadSettings() {
    SettingsBuffer buffer;
    if (ReadSettingsFile(buffer) != 0) return 1;
    // The range comes before the rows so the rows are bounded by the
    // file's range.
    TTrackBar* const options[OptionCount] = {TrackBar1, TrackBar2, TrackBar3, TrackBar4,
                                             TrackBar5, TrackBar6, TrackBar7, TrackBar8};
    for (int k = 0; k < OptionCount; ++k) options[k]->SetPosition(buffer[k]);
    RadioGroup2->SetItemIndex(buffer[8]);
    ApplyChannelRecords(buffer);
    return 0;
}
