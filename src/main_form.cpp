// The full edition's main window: construction, its message list, and the
// operating range chosen in the range group.
#include "main_form.h"

#include "FreqInput.h"

TForm1* Form1 = nullptr;

namespace {

// Where this edition's message list holds the shared texts.
constexpr MainFormMessages Messages = {
    .hz = 5,
    .disconnect = 8, .connected = 9, .alreadyOpen = 10, .openError = 11, .configError = 12,
    .portWriteError = 13, .deviceError = 14, .connection = 15, .broken = 16,
    .reading = 17, .readDone = 18, .readError = 19, .readingInfo = 40,
    .writingChannels = 20, .noConnection = 21, .writeError = 22, .tailChannels = 23,
    .tailCtcssRx = 24, .tailCtcssTx = 25, .channelsDone = 27,
    .inputFrequency = 41, .ofReceive = 42, .ofTransmit = 43, .channelNumber = 44,
    .fileWithSettings = 45, .loadedOk = 46, .loadFailed = 47, .fileOpenError = 48,
    .warningCaption = 49, .warningCaps = 50, .existsRewrite = 52, .rewrittenOk = 53,
    .rewriteFailed = 54, .createdOk = 55, .createFailed = 56, .rewriteQuestion = 57,
    .fileWriteError = 58, .fileReadError = 59,
};

// The range texts of ranges 0 to 3, and the other texts of the caption.
constexpr int RangeTextMessage[4] = {1, 2, 3, 60};
constexpr int MsgWorkingRange = 0;
constexpr int MsgMHz = 4;
constexpr int MsgRangeError = 6;

// This edition's main window, already while it is built.
TForm1* Window() { return static_cast<TForm1*>(MainWindow()); }

// The range selected in the range group, or -1.
int SelectedRange() {
    const TForm1* form = Window();
    if (!form || !form->RadioGroup2) return -1;
    const int index = form->RadioGroup2->ItemIndex();
    return (index >= 0 && index <= 3) ? index : -1;
}

}  // namespace

// The frequency dialog's message list of this edition.
const FreqInputMessages FreqInputTexts = {.error = 0, .mhz = 1, .mustBe = 2, .more = 3, .less = 4, .step = 5};

void CreateMainForm() { Application->CreateForm(Form1); }

int32_t RangeMinCode() {
    const int r = SelectedRange();
    return r >= 0 ? OperatingRanges[r].minCode : -1;
}

int32_t RangeMaxCode() {
    const int r = SelectedRange();
    return r >= 0 ? OperatingRanges[r].maxCode : -1;
}

String WorkingRangeText(int range) {
    const TForm1* form = Window();
    return form->Message(MsgWorkingRange) + " " + form->Message(RangeTextMessage[range]) + " " +
           form->Message(MsgMHz);
}

void ShowRange() {
    TForm1* form = Window();
    if (!form) return;
    const int r = SelectedRange();
    form->Panel1->SetCaption(r >= 0 ? WorkingRangeText(r) : form->Message(MsgRangeError));
}

TForm1::TForm1(TComponent* Owner) : TMainFormBase(Owner, Messages) {
    VCL_PUBLISH(TrackBar1);
    VCL_PUBLISH(TrackBar2);
    VCL_PUBLISH(TrackBar3);
    VCL_PUBLISH(Label4);
    VCL_PUBLISH(Label5);
    VCL_PUBLISH(Label6);
    VCL_PUBLISH(Label7);
    VCL_PUBLISH(TrackBar4);
    VCL_PUBLISH(Label8);
    VCL_PUBLISH(TrackBar5);
    VCL_PUBLISH(Label9);
    VCL_PUBLISH(Label10);
    VCL_PUBLISH(Label11);
    VCL_PUBLISH(Label12);
    VCL_PUBLISH(Label13);
    VCL_PUBLISH(TrackBar6);
    VCL_PUBLISH(Label17);
    VCL_PUBLISH(Label18);
    VCL_PUBLISH(TrackBar7);
    VCL_PUBLISH(Label19);
    VCL_PUBLISH(Label20);
    VCL_PUBLISH(PageControl1);
    VCL_PUBLISH(TabSheet1);
    VCL_PUBLISH(TabSheet2);
    VCL_PUBLISH(RadioGroup2);
    VCL_PUBLISH(Button7);
    VCL_PUBLISH(TrackBar8);
    VCL_PUBLISH(Label21);
    VCL_PUBLISH(Label22);

    PublishLeadingHandlers();
    VCL_PUBLISH_NOTIFY(Button2Click);
    VCL_PUBLISH_NOTIFY(TrackBar1Change);
    VCL_PUBLISH_NOTIFY(TrackBar2Change);
    VCL_PUBLISH_NOTIFY(TrackBar3Change);
    VCL_PUBLISH_NOTIFY(TrackBar4Change);
    VCL_PUBLISH_NOTIFY(TrackBar5Change);
    VCL_PUBLISH_NOTIFY(Button3Click);
    VCL_PUBLISH_NOTIFY(Button6Click);
    PublishRowAndMenuHandlers();
    VCL_PUBLISH_NOTIFY(TrackBar6Change);
    VCL_PUBLISH_NOTIFY(TrackBar7Change);
    VCL_PUBLISH_NOTIFY(TrackBar8Change);
    VCL_PUBLISH_NOTIFY(Button8Click);
    VCL_PUBLISH_NOTIFY(Button7Click);
    VCL_PUBLISH_NOTIFY(RadioGroup2Click);

    BuildWindow();
    // The working range shows before the ports are probed.
    ShowRange();
    FillPorts();
}

// FFileName goes with the window; the rows and every other control belong
// to the form and are freed by it.
TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::RadioGroup2Click(TObject*) {
    BoundRows();
    ShowRange();
}
