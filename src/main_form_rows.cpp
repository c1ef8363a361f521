// Editing the channel rows: the handlers find their row, and where it
// matters the side, by taking the sender's name apart ("Track_rx_42":
// side at character 7, row from character 10).
#include "FreqInput.h"
#include "main_form_base.h"

namespace {

const String* SenderName(TObject* sender) {
    auto* c = dynamic_cast<TComponent*>(sender);
    return c ? &c->Name() : nullptr;
}

// The row number: the rest of the name from character `from` (counted
// from 1), a decimal number 0 to 99; -1 for anything else.
int RowFrom(const String* name, size_t from) {
    if (!name || name->size() < from || name->size() > from + 2) return -1;
    int row = 0;
    for (size_t i = from - 1; i < name->size(); ++i) {
        char ch = (*name)[i];
        if (ch < '0' || ch > '9') return -1;
        row = row * 10 + (ch - '0');
    }
    return row < RowCount ? row : -1;
}

// Character `at` (counted from 1) is 'r' for the receive side.
bool IsReceive(const String& name, size_t at) { return name.size() >= at && name[at - 1] == 'r'; }

}  // namespace

void TMainFormBase::TrackBar_Change(TObject* Sender) {
    const String* name = SenderName(Sender);
    const int n = RowFrom(name, 10);
    auto* bar = dynamic_cast<TTrackBar*>(Sender);
    if (n < 0 || !bar) return;
    const bool rx = IsReceive(*name, 7);
    const int p = bar->Position();
    (rx ? FUdRx : FUdTx)[n]->SetPosition(p);
    (rx ? FEd1 : FEd2)[n]->SetText(MHzText(p));
}

void TMainFormBase::UpDown1Click(TObject* Sender, TUDBtnType) {
    const String* name = SenderName(Sender);
    const int n = RowFrom(name, 7);
    auto* ud = dynamic_cast<TUpDown*>(Sender);
    if (n < 0 || !ud) return;
    // The track bar clamps the value and, when it moves, its change
    // handler writes the text.
    (IsReceive(*name, 4) ? FTrackRx : FTrackTx)[n]->SetPosition(ud->Position());
}

void TMainFormBase::CheckBox1Click(TObject* Sender) {
    const int n = RowFrom(SenderName(Sender), 5);
    auto* box = dynamic_cast<TCheckBox*>(Sender);
    if (n < 0 || !box) return;
    const bool on = box->Checked();
    TControl* const row[] = {FRowLabel[n], FEd1[n],  FTrackRx[n],      FUdRx[n],        FEd2[n],
                             FTrackTx[n],  FUdTx[n], FCtcssRxLabel[n], FCtcssTxLabel[n]};
    for (TControl* c : row) c->SetEnabled(on);
    if (n == FCtcssRow && CurrentCombo->Visible()) CurrentCombo->SetEnabled(on);
}

void TMainFormBase::ctcssOnMouseEnter(TObject* Sender) {
    const String* name = SenderName(Sender);
    const int n = RowFrom(name, 10);
    if (n < 0) return;
    if (CurrentCombo->Visible()) CurrentCombo->Hide();
    FCtcssRow = n;
    CurrentCombo->SetEnabled(FChBx[n]->Checked());
    const bool rx = IsReceive(*name, 7);
    TLabel* label = rx ? FCtcssRxLabel[n] : FCtcssTxLabel[n];
    CurrentCombo->SetLeft(label->Left());
    CurrentCombo->SetTop(label->Top() - 3);
    CurrentCombo->SetItemIndex(rx ? FCtcssRx[n] : FCtcssTx[n]);
    CurrentCombo->Show();
    FCtcssIsTx = rx ? 0 : 1;
}

void TMainFormBase::CurrentComboOnChange(TObject*) {
    const int k = CurrentCombo->ItemIndex();
    const int n = FCtcssRow;
    if (n >= 0 && n < RowCount && k >= 0 && k <= 50) {
        if (FCtcssIsTx == 0) {
            FCtcssRx[n] = k;
            FCtcssRxLabel[n]->SetCaption(ToneList->Strings(k));
        } else {
            FCtcssTx[n] = k;
            FCtcssTxLabel[n]->SetCaption(ToneList->Strings(k));
        }
    }
    CurrentCombo->Hide();
}

void TMainFormBase::FreqOnClick(TObject* Sender) {
    const String* name = SenderName(Sender);
    if (RowFrom(name, 5) < 0 || !FormFreqInput) return;
    const char direction = (*name)[2];
    if (direction < '0' || direction > '9') return;
    const String number = name->substr(4);

    FormFreqInput->FDirection = direction - '0';
    FormFreqInput->FChannel = std::stoi(number);
    FormFreqInput->Button1->SetEnabled(false);
    FormFreqInput->MaskEdit1->SetText("");
    FormFreqInput->SetCaption(Message(FMsg.inputFrequency) + " " +
                              Message(direction == '1' ? FMsg.ofReceive : FMsg.ofTransmit) + " " +
                              Message(FMsg.channelNumber) + " " + number + ")");
    FormFreqInput->ShowModal();
}
