// The main window of the earlier channels-only edition: the shared channel
// window without the Options page and without a range choice. The range is
// the radio's, taken by every Read.
#pragma once

#include "main_form_base.h"

class TForm1 : public TMainFormBase {
public:
    // Published handlers of this edition.
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    // Bounds every row by the range RangeIndex; no control's event is bound
    // to it, Read runs it.
    void RadioGroup2Click(TObject* Sender);

    explicit TForm1(TComponent* Owner);
    ~TForm1() override;

    void WriteChannels();
    int SaveSettings() override;
    int LoadSettings() override;
    int32_t RangeMinCode() const override;
    int32_t RangeMaxCode() const override;
    const FreqInputMessages& FreqInputTexts() const override;
};

extern TForm1* Form1;

// Makes this edition's main window the application's main form.
void CreateMainForm();

// The operating range 0-3 of the radio last read; 0 until a Read succeeds.
extern int32_t RangeIndex;
