// Typing a frequency into the dialog that a channel row opens.
#pragma once

#include "FreqInput.h"
#include "main_form_base.h"
#include "support/scripted_modal.h"

// What one showing of the dialog did.
struct Attempt {
    bool okEnabled = false;   // OK could be pressed after typing
    bool closed = false;      // the dialog closed by itself after OK
    String textAfter;         // the edit's text after OK
    String caption;           // the dialog's caption while shown
};

// Opens the dialog from the receive (Ed1_) or transmit (Ed2_) edit of a
// row of the main window, types the text, presses OK if it can be pressed,
// then closes the dialog if it is still open.
inline Attempt TryFrequency(vcl::ScriptedModal& script, int row, bool tx, const String& typed) {
    Attempt a;
    script.onShowModal = [&](TForm& form) {
        TFormFreqInput& dlg = dynamic_cast<TFormFreqInput&>(form);
        a.caption = dlg.Caption();
        dlg.MaskEdit1->SetText(typed);
        a.okEnabled = dlg.Button1->Enabled();
        if (a.okEnabled) dlg.Button1->Click();
        a.closed = form.ModalDone();
        a.textAfter = dlg.MaskEdit1->Text();
        if (!a.closed) form.Close();
    };
    TMainFormBase* main = MainWindow();
    (tx ? main->FEd2[row] : main->FEd1[row])->Click();
    script.onShowModal = nullptr;
    return a;
}
