// The shared part of the main window: the globals, construction of the
// channel table and the ports group, the message list and log, and the
// bounding of the rows by the operating range.
#include "main_form_base.h"

#include <algorithm>


// The one link object, made before any window and never destroyed.
TRadiocomm* Radiocomm = new TRadiocomm();
String ToneSuffix;
TStringList* ToneList = nullptr;
PortScanList* PortList = nullptr;
bool Connected = false;
const int BaudRates[3] = {4800, 9600, 19200};

const char* const ToneTexts[51] = {
    "Off",
    "67,0",  "69,3",  "71,9",  "74,4",  "77,0",  "79,7",  "82,5",  "85,4",  "88,5",  "91,5",
    "94,8",  "97,4",  "100,0", "103,5", "107,2", "110,9", "114,8", "118,8", "123,0", "127,3",
    "131,8", "136,5", "141,3", "146,2", "151,4", "156,7", "159,8", "162,2", "165,5", "167,9",
    "171,3", "173,8", "177,3", "179,9", "183,5", "186,2", "189,9", "192,8", "196,6", "199,5",
    "203,5", "206,5", "210,7", "218,1", "225,7", "229,1", "233,6", "241,8", "250,3", "254,1",
};

const RangeLimits OperatingRanges[4] = {
    {0, 279},
    {280, 620},
    {960, 980},
    {1320, 2200},
};

namespace {

// The main window from the start of its construction until it is freed.
TMainFormBase* TheMainWindow = nullptr;

String Num(int n) { return std::to_string(n); }

// A track bar brought into [min, max]: widen toward the new range first,
// move the position, then narrow, so the bar never refuses a bound.
void Rebound(TTrackBar* bar, int32_t min, int32_t max) {
    if (min < bar->Min())
        bar->SetMin(min);
    else if (max > bar->Max())
        bar->SetMax(max);
    if (bar->Position() > max) bar->SetPosition(max);
    if (bar->Position() < min) bar->SetPosition(min);
    bar->SetMax(max);
    bar->SetMin(min);
}

}  // namespace

String MHzText(int code) {
    // The frequency in kHz is exact; its digits are the MHz value's digits
    // with the point three places from the right. Keep seven significant
    // digits, rounding halfway away from zero.
    long long khz = 33000LL + 25LL * code;
    bool negative = khz < 0;
    unsigned long long a = static_cast<unsigned long long>(negative ? -khz : khz);
    int digits = 1;
    for (unsigned long long t = a; t >= 10; t /= 10) ++digits;
    if (digits > 7) {
        unsigned long long p = 1;
        for (int i = 7; i < digits; ++i) p *= 10;
        a = (a + p / 2) / p * p;
    }
    String fraction = std::to_string(a % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    String text = std::to_string(a / 1000) + DecimalSeparator() + fraction;
    if (negative && a != 0) text.insert(0, "-");
    return text;
}

String ToneCaption(int index) {
    if (index >= 1 && index <= 50) return ToneTexts[index] + ToneSuffix;
    return ToneTexts[0];
}

TMainFormBase::TMainFormBase(TComponent* Owner, const MainFormMessages& messages)
    : TForm(Owner), FMsg(messages) {
    // The frequency dialog and the edition's range caption reach the
    // window through MainWindow(), already while it is built.
    TheMainWindow = this;
    VCL_PUBLISH(Button1);
    VCL_PUBLISH(ScrollBox1);
    VCL_PUBLISH(Label1);
    VCL_PUBLISH(Label2);
    VCL_PUBLISH(Label3);
    VCL_PUBLISH(RadioGroup1);
    VCL_PUBLISH(Button2);
    VCL_PUBLISH(GroupBox1);
    VCL_PUBLISH(Memo1);
    VCL_PUBLISH(MainMenu1);
    VCL_PUBLISH(N1);
    VCL_PUBLISH(N2);
    VCL_PUBLISH(N3);
    VCL_PUBLISH(N4);
    VCL_PUBLISH(N5);
    VCL_PUBLISH(N6);
    VCL_PUBLISH(N7);
    VCL_PUBLISH(Button3);
    VCL_PUBLISH(Button6);
    VCL_PUBLISH(ComboBox1);
    VCL_PUBLISH(Label14);
    VCL_PUBLISH(Label15);
    VCL_PUBLISH(Label16);
    VCL_PUBLISH(N8);
    VCL_PUBLISH(OpenDialog1);
    VCL_PUBLISH(SaveDialog1);
    VCL_PUBLISH(Button8);
    VCL_PUBLISH(Panel1);
    VCL_PUBLISH(ListBox1);
}

void TMainFormBase::PublishLeadingHandlers() {
    VCL_PUBLISH_NOTIFY(Button1Click);
    VCL_PUBLISH_NOTIFY(CheckBox1Click);
    VCL_PUBLISH_NOTIFY(N6Click);
}

void TMainFormBase::PublishRowAndMenuHandlers() {
    VCL_PUBLISH_UDCLICK(UpDown1Click);
    VCL_PUBLISH_NOTIFY(TrackBar_Change);
    VCL_PUBLISH_NOTIFY(ctcssOnMouseEnter);
    VCL_PUBLISH_NOTIFY(CurrentComboOnChange);
    VCL_PUBLISH_NOTIFY(FreqOnClick);
    VCL_PUBLISH_NOTIFY(N8Click);
    VCL_PUBLISH_NOTIFY(N2Click);
    VCL_PUBLISH_NOTIFY(N4Click);
    VCL_PUBLISH_NOTIFY(N3Click);
    VCL_PUBLISH_NOTIFY(RadioGroup1Click);
}

TMainFormBase::~TMainFormBase() {
    if (TheMainWindow == this) TheMainWindow = nullptr;
}

TMainFormBase* MainWindow() { return TheMainWindow; }

void TMainFormBase::BuildWindow(const std::vector<int>& messagePositions) {
    LoadFromResource("main_form");
    CheckMessageList(messagePositions);
    FFileName.clear();
    BuildRows();
}

// A form file whose list lacks a text the window shows stops the start,
// as any other fault of the form file does.
void TMainFormBase::CheckMessageList(const std::vector<int>& positions) const {
    const int count = ListBox1->Items().Count();
    for (int position : positions)
        if (position < 0 || position >= count)
            throw EResourceError(ResourceErrorText(
                "main_form.dfm", 0, Name() + ": ListBox1 holds no message " + Num(position)));
}

void TMainFormBase::BuildRows() {
    const int separatorWidth = ScrollBox1->Width() - 30;
    const int32_t min = RangeMinCode();
    const int32_t max = RangeMaxCode();

    ToneSuffix = " " + Message(FMsg.hz);
    // Made once per window; a window made again (tests do) takes a new list.
    delete ToneList;
    ToneList = new TStringList();
    ToneList->Add(ToneTexts[0]);
    for (int k = 1; k <= 50; ++k) ToneList->Add(ToneTexts[k] + ToneSuffix);

    CurrentCombo = new TComboBox(this);
    CurrentCombo->SetParent(ScrollBox1);
    CurrentCombo->Items().Assign(*ToneList);
    CurrentCombo->SetVisible(false);
    CurrentCombo->SetWidth(70);
    CurrentCombo->SetStyle(csDropDownList);
    CurrentCombo->OnChange = [this](TObject* s) { CurrentComboOnChange(s); };

    const TNotifyEvent checkClick = [this](TObject* s) { CheckBox1Click(s); };
    const TNotifyEvent freqClick = [this](TObject* s) { FreqOnClick(s); };
    const TNotifyEvent trackChange = [this](TObject* s) { TrackBar_Change(s); };
    const TUDClickEvent upDownClick = [this](TObject* s, TUDBtnType b) { UpDown1Click(s, b); };
    const TNotifyEvent toneEnter = [this](TObject* s) { ctcssOnMouseEnter(s); };

    auto makeEdit = [&](const String& name, int left, int y, int code) {
        TEdit* ed = new TEdit(this);
        ed->SetParent(ScrollBox1);
        ed->SetLeft(left);
        ed->SetTop(y);
        ed->SetWidth(50);
        ed->SetName(name);
        ed->SetText(MHzText(code));
        ed->SetColor(clBtnFace);
        ed->SetReadOnly(true);
        ed->OnClick = freqClick;
        return ed;
    };
    auto makeTrack = [&](const String& name, int left, int y, int position) {
        TTrackBar* bar = new TTrackBar(this);
        bar->SetParent(ScrollBox1);
        bar->SetBounds(left, y, 70, 20);
        bar->SetTickStyle(tsNone);
        bar->SetThumbLength(12);
        bar->SetMax(max);
        bar->SetMin(min);
        bar->SetName(name);
        bar->SetPosition(position);
        bar->OnChange = trackChange;
        return bar;
    };
    auto makeUpDown = [&](const String& name, int left, int y, int code) {
        TUpDown* ud = new TUpDown(this);
        ud->SetParent(ScrollBox1);
        ud->SetBounds(left, y + 13, 40, 10);
        ud->SetOrientation(udHorizontal);
        ud->SetName(name);
        ud->OnClick = upDownClick;
        ud->SetMax(max);
        ud->SetMin(min);
        ud->SetPosition(code);
        return ud;
    };
    auto makeToneLabel = [&](const String& name, int left, int y) {
        TLabel* label = new TLabel(this);
        label->SetParent(ScrollBox1);
        label->SetLeft(left);
        label->SetTop(y + 3);
        label->SetWidth(70);
        label->SetName(name);
        return label;
    };

    for (int n = 0; n < RowCount; ++n) {
        const int y = 32 * n;
        const int32_t code = std::min(min + n, max);
        const String number = Num(n);

        TLabel* rowLabel = new TLabel(this);
        rowLabel->SetParent(ScrollBox1);
        rowLabel->SetLeft(3);
        rowLabel->SetTop(y + 5);
        rowLabel->SetCaption(n < 10 ? "0" + number : number);
        rowLabel->SetFontSize(10);
        FRowLabel[n] = rowLabel;

        TCheckBox* box = new TCheckBox(this);
        box->SetParent(ScrollBox1);
        box->SetLeft(25);
        box->SetTop(y + 5);
        box->SetWidth(17);
        box->SetName("ChBx" + number);
        box->SetCaption("");
        box->SetState(cbChecked);
        box->OnClick = checkClick;
        FChBx[n] = box;

        FEd1[n] = makeEdit("Ed1_" + number, 45, y, code);
        FTrackRx[n] = makeTrack("Track_rx_" + number, 100, y, min + n);
        FUdRx[n] = makeUpDown("Ud_rx_" + number, 115, y, code);
        FEd2[n] = makeEdit("Ed2_" + number, 175, y, code);
        FTrackTx[n] = makeTrack("Track_tx_" + number, 230, y, min + n);
        FUdTx[n] = makeUpDown("Ud_tx_" + number, 245, y, code);

        FCtcssRxLabel[n] = makeToneLabel("ctcss_rx_" + number, 305, y);
        FCtcssRx[n] = 0;
        FCtcssRxLabel[n]->SetCaption(ToneTexts[0]);
        FCtcssRxLabel[n]->OnMouseEnter = toneEnter;

        FCtcssTxLabel[n] = makeToneLabel("ctcss_tx_" + number, 385, y);
        FCtcssTx[n] = 0;
        FCtcssTxLabel[n]->SetCaption(ToneTexts[0]);
        FCtcssTxLabel[n]->OnMouseEnter = toneEnter;

        TBevel* line = new TBevel(this);
        line->SetParent(ScrollBox1);
        line->SetBounds(3, y + 25, separatorWidth, 2);
        line->SetShape(bsBottomLine);
        FSeparator[n] = line;
    }
}

void TMainFormBase::FillPorts() {
    // Kept for the whole run; a window made again (tests do) scans anew.
    if (PortList) {
        for (PortScanEntry* e : *PortList) delete e;
        delete PortList;
    }
    PortList = ScanPorts(6);
    if (PortList) {
        for (const PortScanEntry* e : *PortList) {
            const bool answered = e->Status == 0;
            RadioGroup1->Items().Add("COM" + Num(e->Port) + (answered ? " (device)" : ""));
            if (answered) RadioGroup1->SetItemIndex(RadioGroup1->Items().Count() - 1);
        }
    }
    Button2->SetEnabled(RadioGroup1->ItemIndex() >= 0);
}

const String& TMainFormBase::Message(int index) const { return ListBox1->Items()[index]; }

void TMainFormBase::Log(const String& line) { Memo1->Lines().Add(line); }

void TMainFormBase::BoundRows() {
    const int32_t max = RangeMaxCode();
    const int32_t min = RangeMinCode();
    for (int n = 0; n < RowCount; ++n) {
        if (!FTrackRx[n]) break;  // the rows are not built yet
        Rebound(FTrackRx[n], min, max);
        FUdRx[n]->SetMax(max);
        FUdRx[n]->SetMin(min);
        Rebound(FTrackTx[n], min, max);
        FUdTx[n]->SetMax(max);
        FUdTx[n]->SetMin(min);
    }
}
