// The full edition's work with the radio: connecting, reading the settings
// memory into the rows, the options and the range, the Info report, and
// writing channels, the range and the options back. Each press of a Write
// button ends with the reset frame.
#include "main_form.h"

#include <algorithm>

#include "main_form_messages.h"

namespace ri = radio_image;

namespace {

// What the stored codes are counted from in the selected range: the lowest
// code of range 3, else 0.
int StoredCodeOffset(const TForm1& form) {
    return form.RadioGroup2->ItemIndex() == 3 ? form.RangeMinCode() : 0;
}

}  // namespace

// ---- Connection ----------------------------------------------------------

void TForm1::Button2Click(TObject*) { ToggleConnection(); }

void TForm1::SwitchOptionsWrite(bool connected) { Button7->SetEnabled(connected); }

// ---- Reading -------------------------------------------------------------

void TForm1::Button3Click(TObject*) {
    MemoryImage image;
    if (!BeginRead(image)) return;

    // The range first: the rows get the radio's limits before their codes.
    RadioGroup2->SetItemIndex(ri::RangeFromByte(image[ri::RangeByte]));
    const int offset = StoredCodeOffset(*this);

    for (int i = 0; i < RowCount; ++i) {
        const uint8_t* record = image.data() + ri::RecordAddress(i);
        if (ri::IsEmptyRecord(record)) {
            ShowEmptyRow(i);
            continue;
        }
        const ri::Codes codes = ri::DecodeCodes(record, offset);
        FTrackRx[i]->SetPosition(codes.rx);
        FTrackTx[i]->SetPosition(codes.tx);
        ShowTones(i, record[3], record[4]);
        TickRow(i);
    }

    TrackBar7->SetPosition(ri::SquelchFromByte(image[ri::SquelchByte]));
    TrackBar6->SetPosition(ri::VolumeFromByte(image[ri::VolumeByte]));
    TrackBar1->SetPosition(ri::LevelFromByte(image[ri::DeviationByte]));
    TrackBar2->SetPosition(ri::LevelFromByte(image[ri::SpeechByte]));
    TrackBar3->SetPosition(ri::LevelFromByte(image[ri::GainByte]));
    TrackBar4->SetPosition(ri::LevelFromByte(image[ri::CtcssTxLevelByte]));
    TrackBar5->SetPosition(ri::LevelFromByte(image[ri::CtcssRxLevelByte]));
    TrackBar8->SetPosition(image[ri::AnalogSqlByte]);
}

void TForm1::Button6Click(TObject*) {
    const int rangeByte = ReadRangeByte();
    if (rangeByte < 0) return;
    if (rangeByte >= 1 && rangeByte <= 4)
        Log(WorkingRangeText(rangeByte - 1));
    else
        Log(Message(Messages.rangeError));
}

// ---- Writing -------------------------------------------------------------

void TForm1::WriteChannels() {
    MemoryImage image;
    if (!BeginChannelWrite(image)) return;
    WriteChannelRecords(image, StoredCodeOffset(*this));

    // The range byte goes last. Without a selected range there is nothing
    // sound to write: the radio would take the byte for some other range.
    const int range = RadioGroup2->ItemIndex();
    if (range < 0 || range > 3) {
        Log(Message(Messages.rangeWriteError));
    } else {
        const uint8_t rangeByte = static_cast<uint8_t>(range + 1);
        if (image[ri::RangeByte] != rangeByte &&
            Radiocomm->WriteByte(ri::RangeByte, rangeByte) != 0)
            Log(Message(Messages.rangeWriteError));
    }
    EndChannelWrite();
}

void TForm1::WriteOptions() {
    Log(Message(Messages.writingOptions));
    MemoryImage image;
    if (!ReadRadio(image)) {
        Log(Message(FMsg.noConnection));
        Log(Message(Messages.optionsDone));
        return;
    }
    // In the order of their bytes in the radio's memory.
    std::array<OptionTrackBar, settings_image::OptionCount> options = OptionTrackBars();
    std::ranges::sort(options, {}, &OptionTrackBar::imageByte);
    for (const OptionTrackBar& o : options) {
        const int position = o.bar->Position();
        if (image[static_cast<size_t>(o.imageByte)] != position &&
            Radiocomm->WriteByte(static_cast<uint32_t>(o.imageByte), static_cast<BYTE>(position)) != 0)
            Log(Message(o.writeError));
    }
    Log(Message(Messages.optionsDone));
}

void TForm1::Button8Click(TObject*) {
    WriteChannels();
    Log(Message(Radiocomm->ResetDevice() == 0 ? Messages.resetSent : Messages.resetError));
}

void TForm1::Button7Click(TObject*) {
    WriteOptions();
    Log(Message(Radiocomm->ResetDevice() == 0 ? Messages.resetSent : Messages.resetError));
}
