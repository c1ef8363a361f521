// The main window's commands outside the radio, the rows and the files:
// leaving the program (the Exit button and File / Exit) and the About box
// (About / About).
#include "About.h"
#include "main_form_base.h"

void TMainFormBase::Button1Click(TObject*) { Application->Terminate(); }

void TMainFormBase::N6Click(TObject*) { Application->Terminate(); }

void TMainFormBase::N8Click(TObject*) {
    if (AboutBox) AboutBox->ShowModal();
}
