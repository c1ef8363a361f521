// The modal seam's host for tests: message boxes, file dialogs and modal
// forms answered from a script, and everything shown recorded.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/vcl/modal.h"
#include "platform/vcl/user_interface.h"

namespace vcl {

// A modal host that answers from a script and records what was shown.
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
