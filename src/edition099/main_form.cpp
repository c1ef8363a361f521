// The earlier edition's main window: construction, its message list, and
// the operating range taken from the radio.
#include "main_form.h"

#include "FreqInput.h"

TForm1* Form1 = nullptr;
int32_t RangeIndex = 0;

namespace {

// Where this edition's message list holds the shared texts.
constexpr MainFormMessages Messages = {
    .hz = 0,
    .disconnect = 1, .connected = 2, .alreadyOpen = 3, .openError = 4, .configError = 5,
    .portWriteError = 6, .deviceError = 7, .connection = 8, .broken = 9,
    .reading = 10, .readDone = 11, .readError = 20, .readingInfo = 30,
    .writingChannels = 21, .noConnection = 22, .writeError = 23, .tailChannels = 24,
    .tailCtcssRx = 25, .tailCtcssTx = 26, .channelsDone = 27,
    .inputFrequency = 32, .ofReceive = 34, .ofTransmit = 35, .channelNumber = 33,
    .fileWithSettings = 36, .loadedOk = 37, .loadFailed = 38, .fileOpenError = 39,
    .warningCaption = 18, .warningCaps = 19, .existsRewrite = 40, .rewrittenOk = 41,
    .rewriteFailed = 42, .createdOk = 43, .createFailed = 44, .rewriteQuestion = 45,
    .fileWriteError = 46, .fileReadError = 47,
};

}  // namespace

// The frequency dialog's message list of this edition.
const FreqInputMessages FreqInputTexts = {.error = 5, .mhz = 0, .mustBe = 1, .more = 2, .less = 3, .step = 4};

void CreateMainForm() { Application->CreateForm(Form1); }

// RangeIndex only ever holds 0 to 3.
int32_t RangeMinCode() { return OperatingRanges[RangeIndex & 3].minCode; }

int32_t RangeMaxCode() { return OperatingRanges[RangeIndex & 3].maxCode; }

TForm1::TForm1(TComponent* Owner) : TMainFormBase(Owner, Messages) {
    PublishLeadingHandlers();
    VCL_PUBLISH_NOTIFY(Button2Click);
    VCL_PUBLISH_NOTIFY(Button3Click);
    VCL_PUBLISH_NOTIFY(Button6Click);
    PublishRowAndMenuHandlers();
    VCL_PUBLISH_NOTIFY(Button8Click);
    // Published although no control's event names it: Read runs it.
    VCL_PUBLISH_NOTIFY(RadioGroup2Click);

    // Panel1 keeps its designed "Working Range [unknown]" until a Read.
    BuildWindow();
    FillPorts();
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::RadioGroup2Click(TObject*) { BoundRows(); }
