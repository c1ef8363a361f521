// The frequency entry dialog: one receive or transmit frequency of one
// channel row, typed in MHz as "33,025".
#pragma once

#include "platform/vcl/vcl.h"

class TFormFreqInput : public TForm {
public:
    TLabel* Label1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TMaskEdit* MaskEdit1 = nullptr;
    TButton* Button1 = nullptr;

    void MaskEdit1Change(TObject* Sender);
    void Button1Click(TObject* Sender);
    void MaskEdit1KeyPress(TObject* Sender, char& Key);

    int32_t FDirection = 0;  // 1 receive, anything else transmit
    int32_t FChannel = 0;    // row 0-99

    explicit TFormFreqInput(TComponent* Owner);
};

extern TFormFreqInput* FormFreqInput;

// Where the dialog's message list holds each text; the editions order
// their lists differently, and the main window answers for its edition.
struct FreqInputMessages {
    int error;   // "Error!"
    int mhz;     // "MHz"
    int mustBe;  // "Frequency must be"
    int more;    // "more"
    int less;    // "less"
    int step;    // the 25 kHz step
};
