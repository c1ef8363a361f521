// The earlier edition's main window: construction and the operating range
// taken from the radio.
#include "main_form.h"

#include "main_form_messages.h"

TForm1* Form1 = nullptr;
int32_t RangeIndex = 0;

void CreateMainForm() { Application->CreateForm(Form1); }

// RangeIndex only ever holds 0 to 3.
int32_t TForm1::RangeMinCode() const { return OperatingRanges[RangeIndex & 3].minCode; }

int32_t TForm1::RangeMaxCode() const { return OperatingRanges[RangeIndex & 3].maxCode; }

const FreqInputMessages& TForm1::FreqInputTexts() const { return FreqMessages; }

TForm1::TForm1(TComponent* Owner) : TMainFormBase(Owner, Messages.shared) {
    PublishLeadingHandlers();
    VCL_PUBLISH_NOTIFY(Button2Click);
    VCL_PUBLISH_NOTIFY(Button3Click);
    VCL_PUBLISH_NOTIFY(Button6Click);
    PublishRowAndMenuHandlers();
    VCL_PUBLISH_NOTIFY(Button8Click);
    // Published although no control's event names it: Read runs it.
    VCL_PUBLISH_NOTIFY(RadioGroup2Click);

    // Panel1 keeps its designed "Working Range [unknown]" until a Read.
    BuildWindow(MessagePositions(Messages));
    FillPorts();
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::RadioGroup2Click(TObject*) { BoundRows(); }
