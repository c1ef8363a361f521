// The earlier edition's work with the radio. A successful connect reads the
// radio at once. Every Read takes the operating range from the radio's
// range byte and repairs the radio itself: a channel outside the range is
// erased (five bytes 0xFF) and an invalid tone byte of a good channel is
// cleared to 0, and one warning box tells the user. Writing never touches
// the range byte and sends the reset frame itself.
#include "main_form.h"

#include "main_form_messages.h"
#include "platform/vcl/user_interface.h"

namespace ri = radio_image;

namespace {

constexpr uint8_t ErasedByte = 0xFF;

bool InRange(const ri::Codes& codes, int32_t lower, int32_t upper) {
    return codes.rx >= lower && codes.rx <= upper && codes.tx >= lower && codes.tx <= upper;
}

// What the stored codes are counted from: the lowest code of range 3, else 0.
int StoredCodeOffset() { return RangeIndex == 3 ? OperatingRanges[3].minCode : 0; }

}  // namespace

// ---- Connection ----------------------------------------------------------

void TForm1::Button2Click(TObject*) {
    if (ToggleConnection()) Button3Click(this);
}

// ---- Reading -------------------------------------------------------------

void TForm1::Button3Click(TObject*) {
    MemoryImage image;
    if (!BeginRead(image)) return;
    int erased = 0;  // bad channels erased in full

    // The range first: the rows get the radio's limits before their codes.
    RangeIndex = ri::RangeFromByte(image[ri::RangeByte]);
    Panel1->SetCaption(Message(Messages.workingRange) + " " + Message(Messages.rangeText[RangeIndex]));
    RadioGroup2Click(this);
    const int32_t lower = RangeMinCode();
    const int32_t upper = RangeMaxCode();
    const int offset = StoredCodeOffset();
    auto failed = [this](int tail) { Log(Message(FMsg.writeError) + " " + Message(tail)); };

    for (int i = 0; i < RowCount; ++i) {
        const uint32_t a = static_cast<uint32_t>(ri::RecordAddress(i));
        const uint8_t* record = image.data() + a;
        if (ri::IsEmptyRecord(record)) {
            ShowEmptyRow(i);
            continue;
        }
        const ri::Codes codes = ri::DecodeCodes(record, offset);
        if (!InRange(codes, lower, upper)) {
            // Erased on the radio, all five bytes; the row keeps what it
            // showed, so a Write puts a ticked row back.
            bool done = true;
            for (uint32_t j = 0; j < 5; ++j)
                if (Radiocomm->WriteByte(a + j, ErasedByte) != 0) done = false;
            if (done)
                ++erased;
            else
                failed(FMsg.tailChannels);
            continue;
        }
        FTrackRx[i]->SetPosition(codes.rx);
        FTrackTx[i]->SetPosition(codes.tx);
        ShowTones(i, record[3], record[4]);
        // A tone byte that is neither 0 nor a tone is cleared on the radio.
        if (record[3] != 0 && FCtcssRx[i] == 0 && Radiocomm->WriteByte(a + 3, 0) != 0)
            failed(FMsg.tailCtcssRx);
        if (record[4] != 0 && FCtcssTx[i] == 0 && Radiocomm->WriteByte(a + 4, 0) != 0)
            failed(FMsg.tailCtcssTx);
        TickRow(i);
    }

    if (erased > 0)
        MessageBoxA(Handle(), Message(Messages.badFrequencies).c_str(), Message(Messages.warning).c_str(),
                    MB_ICONWARNING);
}

// ---- Info ----------------------------------------------------------------

void TForm1::Button6Click(TObject*) {
    const int rangeByte = ReadRangeByte();
    if (rangeByte < 0) return;
    if (rangeByte >= 1 && rangeByte <= 4)
        Log(Message(Messages.workingRange) + " " + Message(Messages.rangeText[rangeByte - 1]));
    else
        Log(Message(Messages.rangeByteError));
}

// ---- Writing -------------------------------------------------------------

// The channels only: bytes 500-511, the range byte among them, are never
// written. The reset frame follows whenever the radio could be read.
void TForm1::WriteChannels() {
    MemoryImage image;
    if (!BeginChannelWrite(image)) return;
    WriteChannelRecords(image, StoredCodeOffset());
    Radiocomm->ResetDevice();
    EndChannelWrite();
}

void TForm1::Button8Click(TObject*) { WriteChannels(); }
