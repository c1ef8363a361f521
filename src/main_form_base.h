// What both editions' main windows share.
#pragma once

// Each edition's main window unit makes its window the application's main
// form: Application->CreateForm(Form1).
void CreateMainForm();
