// The earlier edition's settings files: the channel records as the full
// edition writes them. This edition has no options and no range choice,
// so it reads nothing from the 9-byte header; it writes the option bytes
// as 0 and the range of the radio last read into byte 8, so the full
// edition opens the file in the range its codes were saved for.
#include "main_form.h"

int TForm1::SaveSettings() {
    SettingsFile file;
    file.range = static_cast<uint8_t>(RangeIndex);
    FillChannelRecords(file);
    return WriteSettingsFile(file);
}

// The codes are held within the current range's limits; the range itself
// stays as the last Read set it.
int TForm1::LoadSettings() {
    SettingsFile file;
    if (ReadSettingsFile(file) != 0) return 1;
    ApplyChannelRecords(file);
    return 0;
}
