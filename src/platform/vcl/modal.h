// The one seam every modal interaction passes: message boxes, file dialogs,
// modal forms, the exception box, and the shell's "open". The default host
// shows real Qt dialogs; tests install a ScriptedModal that answers from a
// script and records what was shown.
#pragma once

#include <deque>
#include <optional>

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

// A host for tests.
class ScriptedModal : public ModalHost {
public:
    struct Shown {
        String kind;  // "message", "open", "save", "form", "exception", "shell"
        String text;     // message text; dialog title; form name; exception message; file
        String caption;  // message caption; dialog filter; form caption; verb
        unsigned flags = 0;
        TForm* owner = nullptr;
        String initialDir;  // file dialogs: InitialDir, FileName at showing
        String fileName;
    };
    std::vector<Shown> shown;
    // Answers to message boxes, in order; when none is left: IDOK for an
    // OK box, IDNO for a Yes/No question.
    std::deque<int> messageAnswers;
    // Answers to file dialogs: a name, or nullopt for Cancel; none left: Cancel.
    std::deque<std::optional<String>> fileAnswers;
    // What happens while a form is shown modally: the script acts on the
    // form (types, clicks, closes). None: the form is closed with mrCancel.
    std::function<void(TForm&)> onShowModal;

    int MessageBox(TForm* owner, const String& text, const String& caption,
                   unsigned flags) override;
    bool FileDialog(TOpenDialog& dialog) override;
    int ShowModal(TForm& form) override;
    void ExceptionBox(const String& message, const String& title) override;
    void ShellOpen(TForm* owner, const String& verb, const String& file) override;

    int Count(const String& kind) const;
    const Shown* Last(const String& kind) const;
};

// Installs a ScriptedModal for the lifetime of the guard.
class ScopedModalScript {
public:
    ScopedModalScript() : FPrevious(SetModalHost(&script)) {}
    ~ScopedModalScript() { SetModalHost(FPrevious); }
    ScriptedModal script;

private:
    ModalHost* FPrevious;
};

}  // namespace vcl
