// The program's entry: the application object, the three windows in this
// order (the first is the main window), then the message loop.
#include "About.h"
#include "FreqInput.h"
#include "main_form.h"
#include "startup.h"

int main() {
    return RunGuarded([] {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(FormFreqInput);
        Application->CreateForm(AboutBox);
        Application->Run();
    });
}
