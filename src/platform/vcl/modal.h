// The one seam every modal interaction passes: message boxes, file dialogs,
// modal forms, the exception box, and the shell's "open". The default host
// shows real Qt dialogs; tests install a host that answers from a script
// and records what was shown.
#pragma once

#include "vcl_forms.h"

namespace vcl {

class ModalHost {
public:
    virtual ~ModalHost() = default;
    // flags: MB_OK / MB_YESNO with MB_ICONWARNING; returns IDOK, IDYES or IDNO.
    virtual int MessageBox(TForm* owner, const String& text, const String& caption,
                           unsigned flags) = 0;
    // Shows the dialog; on true its FileName holds the chosen name.
    virtual bool FileDialog(TOpenDialog& dialog) = 0;
    // Shows the form modally until it closes; returns its ModalResult.
    virtual int ShowModal(TForm& form) = 0;
    // The application's exception box.
    virtual void ExceptionBox(const String& message, const String& title) = 0;
    // The desktop's opener for a document or a "mailto:" address.
    virtual void ShellOpen(TForm* owner, const String& verb, const String& file) = 0;
};

ModalHost& Modal();
// Installs a host (nullptr: the default one); returns the previous host.
ModalHost* SetModalHost(ModalHost* host);

}  // namespace vcl
