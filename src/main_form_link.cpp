// The main window's steps with the radio that both editions take the same
// way: connecting and disconnecting, showing channel records in the rows,
// and writing the rows back to the channel records.
//
// Every step goes to the log as one line, each text taken from the hidden
// message list by its index. Writing compares the rows with the memory just
// read and sends only the bytes that differ, one exchange per byte.
#include <cstring>

#include "main_form_base.h"

namespace ri = radio_image;

namespace {

// A tone index as it may go to the radio: 1-50, anything else "Off" (0).
uint8_t ToneByte(int32_t index) { return (index >= 1 && index <= 50) ? static_cast<uint8_t>(index) : 0; }

void ShowTone(TLabel* label, int32_t& index, uint8_t stored) {
    index = ri::ToneIndex(stored);
    label->SetCaption(ToneCaption(index));
}

}  // namespace

// ---- Connection ----------------------------------------------------------

void TMainFormBase::RadioGroup1Click(TObject*) { Button2->SetEnabled(true); }

// Read, Info and the Write buttons work only while connected; the rate is
// chosen only while not.
void TMainFormBase::SwitchRadioControls(bool connected) {
    Button3->SetEnabled(connected);
    ComboBox1->SetEnabled(!connected);
    Button6->SetEnabled(connected);
    SwitchOptionsWrite(connected);
    Button8->SetEnabled(connected);
}

bool TMainFormBase::ToggleConnection() {
    if (Connected) {
        Radiocomm->ClosePort();
        Button2->SetCaption(Message(FMsg.connection));
        Connected = false;
        RadioGroup1->SetEnabled(true);
        Log(Message(FMsg.broken));
        SwitchRadioControls(false);
        return false;
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
        Button2->SetCaption(Message(FMsg.disconnect));
        Connected = true;
        RadioGroup1->SetEnabled(false);
        Log(Message(FMsg.connected));
        SwitchRadioControls(true);
        return true;
    }

    int text = FMsg.deviceError;
    switch (result) {
        case -1: text = FMsg.alreadyOpen; break;
        case 1: text = FMsg.openError; break;
        case 2: text = FMsg.configError; break;
        case 3: text = FMsg.portWriteError; break;
        default: break;
    }
    Log(Message(text));
    Radiocomm->ClosePort();
    return false;
}

// ---- Reading -------------------------------------------------------------

// The link's buffer is overwritten by the next exchange (the echo of a
// write lands in its first byte), so the writers and the readers work on a
// copy taken at once.
bool TMainFormBase::ReadRadio(MemoryImage& image) {
    const BYTE* data = Radiocomm->ReadImage();
    if (!data) return false;
    std::memcpy(image.data(), data, image.size());
    return true;
}

bool TMainFormBase::BeginRead(MemoryImage& image) {
    Log(Message(FMsg.reading));
    if (!ReadRadio(image)) {
        Log(Message(FMsg.readError));
        return false;
    }
    Log(Message(FMsg.readDone));
    return true;
}

int TMainFormBase::ReadRangeByte() {
    Log(Message(FMsg.readingInfo));
    MemoryImage image;
    if (!ReadRadio(image)) {
        Log(Message(FMsg.readError));
        return -1;
    }
    return image[ri::RangeByte];
}

// An empty channel: position 0, which the track bars hold at the range's
// lowest code, no tones, not in use.
void TMainFormBase::ShowEmptyRow(int row) {
    FTrackRx[row]->SetPosition(0);
    FTrackTx[row]->SetPosition(0);
    ShowTones(row, 0, 0);
    FChBx[row]->SetChecked(false);
}

void TMainFormBase::ShowTones(int row, uint8_t toneRx, uint8_t toneTx) {
    ShowTone(FCtcssRxLabel[row], FCtcssRx[row], toneRx);
    ShowTone(FCtcssTxLabel[row], FCtcssTx[row], toneTx);
}

void TMainFormBase::TickRow(int row) {
    if (!FChBx[row]->Checked()) FChBx[row]->SetChecked(true);
}

// ---- Writing channels ----------------------------------------------------

bool TMainFormBase::BeginChannelWrite(MemoryImage& image) {
    Log(Message(FMsg.writingChannels));
    if (ReadRadio(image)) return true;
    Log(Message(FMsg.noConnection));
    EndChannelWrite();
    return false;
}

void TMainFormBase::EndChannelWrite() { Log(Message(FMsg.channelsDone)); }

void TMainFormBase::WriteChannelRecords(const MemoryImage& image, int offset) {
    auto groupFailed = [this](int tail) { Log(Message(FMsg.writeError) + " " + Message(tail)); };

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
            if (failed) groupFailed(FMsg.tailChannels);
        }

        const uint8_t toneRx = ToneByte(FCtcssRx[i]);
        if (record[3] != toneRx && Radiocomm->WriteByte(a + 3, toneRx) != 0)
            groupFailed(FMsg.tailCtcssRx);
        const uint8_t toneTx = ToneByte(FCtcssTx[i]);
        if (record[4] != toneTx && Radiocomm->WriteByte(a + 4, toneTx) != 0)
            groupFailed(FMsg.tailCtcssTx);
    }
}
