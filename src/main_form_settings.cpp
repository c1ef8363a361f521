// The full edition's settings files: the header holds the eight option
// track bars and the range before the channel records.
#include "main_form.h"

int TForm1::SaveSettings() {
    SettingsFile file;
    const auto options = OptionTrackBars();
    for (int k = 0; k < settings_image::OptionCount; ++k)
        file.options[k] = static_cast<uint8_t>(options[k].bar->Position());
    file.range = static_cast<uint8_t>(RadioGroup2->ItemIndex());
    FillChannelRecords(file);
    return WriteSettingsFile(file);
}

int TForm1::LoadSettings() {
    SettingsFile file;
    if (ReadSettingsFile(file) != 0) return 1;
    // The range comes before the rows so the rows are bounded by the
    // file's range.
    const auto options = OptionTrackBars();
    for (int k = 0; k < settings_image::OptionCount; ++k) options[k].bar->SetPosition(file.options[k]);
    RadioGroup2->SetItemIndex(file.range);
    ApplyChannelRecords(file);
    return 0;
}
