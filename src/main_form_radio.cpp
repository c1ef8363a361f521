// The main window and the radio: connecting, reading the settings memory
// into the window, the Info report, and writing channels and options back.
//
// Every step goes to the log as one line, each text taken from the hidden
// message list by its index. Writing reads the memory afresh, compares it
// with the window and sends only the bytes that differ, one exchange per
// byte; each press of a Write button ends with the reset frame.
#include <array>
#include <cstring>

#include "RadioImage.h"
#include "main_form.h"

namespace ri = radio_image;

namespace {

using Image = std::array<uint8_t, RadioImageSize>;

// Message list indexes.
enum Msg {
    MsgWorkingRange = 0,
    MsgMHz = 4,
    MsgRangeError = 6,
    MsgDisconnect = 8,
    MsgConnected = 9,
    MsgAlreadyOpen = 10,
    MsgOpenError = 11,
    MsgConfigError = 12,
    MsgPortWriteError = 13,
    MsgDeviceError = 14,
    MsgConnection = 15,
    MsgBroken = 16,
    MsgReading = 17,
    MsgReadDone = 18,
    MsgReadError = 19,
    MsgWritingChannels = 20,
    MsgNoConnection = 21,
    MsgWriteError = 22,
    MsgTailChannels = 23,
    MsgTailCtcssRx = 24,
    MsgTailCtcssTx = 25,
    MsgRangeWriteError = 26,
    MsgChannelsDone = 27,
    MsgWritingOptions = 28,
    MsgOptionsDone = 37,
    MsgResetSent = 38,
    MsgResetError = 39,
    MsgReadingInfo = 40,
};

// The range texts of ranges 0 to 3.
constexpr int RangeTextMessage[4] = {1, 2, 3, 60};

// The link's buffer is overwritten by the next exchange (the echo of a
// write lands in its first byte), so the writers and the reader work on a
// copy taken at once.
bool ReadRadio(Image& image) {
    const BYTE* data = Radiocomm->ReadImage();
    if (!data) return false;
    std::memcpy(image.data(), data, image.size());
    return true;
}

// The range selected in the window, or -1.
int SelectedRange(const TForm1& form) {
    const int index = form.RadioGroup2->ItemIndex();
    return (index >= 0 && index <= 3) ? index : -1;
}

// What the stored codes are counted from in the selected range: the lowest
// code of range 3, else 0.
int StoredCodeOffset(const TForm1& form) { return SelectedRange(form) == 3 ? RangeMinCode() : 0; }

// A tone index as it may go to the radio: 1-50, anything else "Off" (0).
uint8_t ToneByte(int32_t index) { return (index >= 1 && index <= 50) ? static_cast<uint8_t>(index) : 0; }

void ShowTone(TLabel* label, int32_t& index, uint8_t stored) {
    index = ri::ToneIndex(stored);
    label->SetCaption(ToneCaption(index));
}

}  // namespace

// ---- Leaving the program -------------------------------------------------

void TForm1::Button1Click(TObject*) { Application->Terminate(); }

void TForm1::N6Click(TObject*) { Application->Terminate(); }

// ---- Connection ----------------------------------------------------------

void TForm1::RadioGroup1Click(TObject*) { Button2->SetEnabled(true); }

void TForm1::Button2Click(TObject*) {
    if (Connected) {
        Radiocomm->ClosePort();
        Button2->SetCaption(Message(MsgConnection));
        Connected = false;
        RadioGroup1->SetEnabled(true);
        Log(Message(MsgBroken));
        Button3->SetEnabled(false);
        ComboBox1->SetEnabled(true);
        Button6->SetEnabled(false);
        Button7->SetEnabled(false);
        Button8->SetEnabled(false);
        return;
    }

    Radiocomm->SetTimeouts(1000);
    const int rateIndex = ComboBox1->ItemIndex();
    const int rate = BaudRates[(rateIndex >= 0 && rateIndex <= 2) ? rateIndex : 0];

    // The selected item stands for the scan entry of the same index. Without
    // one there is no port to open: reported as a port that does not open.
    const int portIndex = RadioGroup1->ItemIndex();
    int32_t result = 1;
    if (PortList && portIndex >= 0 && portIndex < static_cast<int>(PortList->size()) &&
        (*PortList)[static_cast<size_t>(portIndex)])
        result = Radiocomm->OpenPort((*PortList)[static_cast<size_t>(portIndex)]->Port, rate);

    if (result == 0) {
        Button2->SetCaption(Message(MsgDisconnect));
        Connected = true;
        RadioGroup1->SetEnabled(false);
        Log(Message(MsgConnected));
        Button3->SetEnabled(true);
        ComboBox1->SetEnabled(false);
        Button6->SetEnabled(true);
        Button7->SetEnabled(true);
        Button8->SetEnabled(true);
        return;
    }

    int text = MsgDeviceError;
    switch (result) {
        case -1: text = MsgAlreadyOpen; break;
        case 1: text = MsgOpenError; break;
        case 2: text = MsgConfigError; break;
        case 3: text = MsgPortWriteError; break;
        default: break;
    }
    Log(Message(text));
    Radiocomm->ClosePort();
}

// ---- Reading -------------------------------------------------------------

void TForm1::Button3Click(TObject*) {
    Log(Message(MsgReading));
    Image image;
    if (!ReadRadio(image)) {
        Log(Message(MsgReadError));
        return;
    }
    Log(Message(MsgReadDone));

    // The range first: the rows get the radio's limits before their codes.
    RadioGroup2->SetItemIndex(ri::RangeFromByte(image[ri::RangeByte]));
    const int offset = StoredCodeOffset(*this);

    for (int i = 0; i < RowCount; ++i) {
        const uint8_t* record = image.data() + ri::RecordAddress(i);
        if (ri::IsEmptyRecord(record)) {
            // Position 0 is limited to the range's lowest code.
            FTrackRx[i]->SetPosition(0);
            FTrackTx[i]->SetPosition(0);
            ShowTone(FCtcssRxLabel[i], FCtcssRx[i], 0);
            ShowTone(FCtcssTxLabel[i], FCtcssTx[i], 0);
            FChBx[i]->SetChecked(false);
            continue;
        }
        const ri::Codes codes = ri::DecodeCodes(record, offset);
        FTrackRx[i]->SetPosition(codes.rx);
        FTrackTx[i]->SetPosition(codes.tx);
        ShowTone(FCtcssRxLabel[i], FCtcssRx[i], record[3]);
        ShowTone(FCtcssTxLabel[i], FCtcssTx[i], record[4]);
        if (!FChBx[i]->Checked()) FChBx[i]->SetChecked(true);
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
    Log(Message(MsgReadingInfo));
    Image image;
    if (!ReadRadio(image)) {
        Log(Message(MsgReadError));
        return;
    }
    const int rangeByte = image[ri::RangeByte];
    if (rangeByte >= 1 && rangeByte <= 4)
        Log(Message(MsgWorkingRange) + " " + Message(RangeTextMessage[rangeByte - 1]) + " " +
            Message(MsgMHz));
    else
        Log(Message(MsgRangeError));
}

// ---- Writing -------------------------------------------------------------

void TForm1::WriteChannels() {
    Log(Message(MsgWritingChannels));
    Image image;
    if (!ReadRadio(image)) {
        Log(Message(MsgNoConnection));
        Log(Message(MsgChannelsDone));
        return;
    }
    const int offset = StoredCodeOffset(*this);
    auto groupFailed = [this](int tail) { Log(Message(MsgWriteError) + " " + Message(tail)); };

    for (int i = 0; i < RowCount; ++i) {
        const uint32_t a = static_cast<uint32_t>(ri::RecordAddress(i));
        const uint8_t* record = image.data() + a;
        const bool empty = ri::IsEmptyRecord(record);

        if (!FChBx[i]->Checked()) {
            // A channel not in use is erased; nothing is reported.
            if (!empty)
                for (uint32_t j = 0; j < 5; ++j) Radiocomm->WriteByte(a + j, 0xFF);
            continue;
        }

        // The three frequency bytes go as one group when either code differs.
        const ri::Codes stored = ri::DecodeCodes(record, offset);
        const int rx = FTrackRx[i]->Position();
        const int tx = FTrackTx[i]->Position();
        if (stored.rx != rx || stored.tx != tx) {
            const std::array<uint8_t, 3> bytes = ri::EncodeCodes(rx, tx, offset);
            bool failed = false;
            for (uint32_t j = 0; j < 3; ++j)
                if (Radiocomm->WriteByte(a + j, bytes[j]) != 0) failed = true;
            if (failed) groupFailed(MsgTailChannels);
        }

        const uint8_t toneRx = ToneByte(FCtcssRx[i]);
        if (record[3] != toneRx && Radiocomm->WriteByte(a + 3, toneRx) != 0)
            groupFailed(MsgTailCtcssRx);
        const uint8_t toneTx = ToneByte(FCtcssTx[i]);
        if (record[4] != toneTx && Radiocomm->WriteByte(a + 4, toneTx) != 0)
            groupFailed(MsgTailCtcssTx);
    }

    // The range byte goes last. Without a selected range there is nothing
    // sound to write: the radio would take the byte for some other range.
    const int range = SelectedRange(*this);
    if (range < 0) {
        Log(Message(MsgRangeWriteError));
    } else {
        const uint8_t rangeByte = static_cast<uint8_t>(range + 1);
        if (image[ri::RangeByte] != rangeByte &&
            Radiocomm->WriteByte(ri::RangeByte, rangeByte) != 0)
            Log(Message(MsgRangeWriteError));
    }
    Log(Message(MsgChannelsDone));
}

void TForm1::WriteOptions() {
    Log(Message(MsgWritingOptions));
    Image image;
    if (!ReadRadio(image)) {
        Log(Message(MsgNoConnection));
        Log(Message(MsgOptionsDone));
        return;
    }
    struct OptionByte {
        int address;
        TTrackBar* bar;
        int errorMessage;
    };
    const OptionByte options[] = {
        {ri::VolumeByte, TrackBar6, 29},       {ri::SquelchByte, TrackBar7, 30},
        {ri::DeviationByte, TrackBar1, 31},    {ri::SpeechByte, TrackBar2, 32},
        {ri::GainByte, TrackBar3, 33},         {ri::CtcssTxLevelByte, TrackBar4, 34},
        {ri::CtcssRxLevelByte, TrackBar5, 35}, {ri::AnalogSqlByte, TrackBar8, 36},
    };
    for (const OptionByte& o : options) {
        const int position = o.bar->Position();
        if (image[static_cast<size_t>(o.address)] != position &&
            Radiocomm->WriteByte(static_cast<uint32_t>(o.address), static_cast<BYTE>(position)) != 0)
            Log(Message(o.errorMessage));
    }
    Log(Message(MsgOptionsDone));
}

void TForm1::Button8Click(TObject*) {
    WriteChannels();
    Log(Message(Radiocomm->ResetDevice() == 0 ? MsgResetSent : MsgResetError));
}

void TForm1::Button7Click(TObject*) {
    WriteOptions();
    Log(Message(Radiocomm->ResetDevice() == 0 ? MsgResetSent : MsgResetError));
}
