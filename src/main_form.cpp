// The full edition's main window: construction and the operating range
// chosen in the range group.
#include "main_form.h"

#include "main_form_messages.h"

TForm1* Form1 = nullptr;

namespace {

// This edition's main window, already while it is built.
TForm1* Window() { return static_cast<TForm1*>(MainWindow()); }

}  // namespace

void CreateMainForm() { Application->CreateForm(Form1); }

int TForm1::SelectedRange() const {
    if (!RadioGroup2) return -1;
    const int index = RadioGroup2->ItemIndex();
    return (index >= 0 && index <= 3) ? index : -1;
}

int32_t TForm1::RangeMinCode() const {
    const int r = SelectedRange();
    return r >= 0 ? OperatingRanges[r].minCode : -1;
}

int32_t TForm1::RangeMaxCode() const {
    const int r = SelectedRange();
    return r >= 0 ? OperatingRanges[r].maxCode : -1;
}

const FreqInputMessages& TForm1::FreqInputTexts() const { return FreqMessages; }

String WorkingRangeText(int range) {
    const TForm1* form = Window();
    return form->Message(Messages.workingRange) + " " + form->Message(Messages.rangeText[range]) + " " +
           form->Message(Messages.mhz);
}

void ShowRange() {
    TForm1* form = Window();
    if (!form) return;
    const int r = form->SelectedRange();
    form->Panel1->SetCaption(r >= 0 ? WorkingRangeText(r) : form->Message(Messages.rangeError));
}

TForm1::TForm1(TComponent* Owner) : TMainFormBase(Owner, Messages.shared) {
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

    BuildWindow(MessagePositions(Messages));
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
