// The program's entry, the same for both editions: the application object,
// the three windows in this order (the first is the main window, made by
// the edition's library), then the message loop.
#include "About.h"
#include "FreqInput.h"
#include "main_form.h"
#include "startup.h"

int main() {
    return RunGuarded([] {
        Application->Initialize();
        CreateMainForm();
        Application->CreateForm(FormFreqInput);
        Application->CreateForm(AboutBox);
        Application->Run();
    });
}
