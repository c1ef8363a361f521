// The scripted modal host.
#include "support/scripted_modal.h"

namespace vcl {

int ScriptedModal::MessageBox(TForm* owner, const String& text, const String& caption, unsigned flags) {
    shown.push_back({"message", text, caption, flags, owner, {}, {}});
    if (!messageAnswers.empty()) {
        int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return (flags & 0x0F) == MB_YESNO ? IDNO : IDOK;
}

bool ScriptedModal::FileDialog(TOpenDialog& dialog) {
    shown.push_back({dialog.IsSave() ? "save" : "open", dialog.Title, dialog.Filter, 0, nullptr,
                     dialog.InitialDir, dialog.FileName});
    if (fileAnswers.empty()) return false;
    std::optional<String> answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (!answer) return false;
    dialog.FileName = *answer;
    return true;
}

int ScriptedModal::ShowModal(TForm& form) {
    shown.push_back({"form", form.Name(), form.Caption(), 0, nullptr, {}, {}});
    form.BeginModal();
    struct End {
        TForm& f;
        ~End() {
            if (f.Modal()) f.EndModal();
        }
    } end{form};
    if (onShowModal) onShowModal(form);
    if (!form.ModalDone()) form.SetModalResult(mrCancel);
    form.EndModal();
    return form.ModalResult();
}

void ScriptedModal::ExceptionBox(const String& message, const String& title) {
    shown.push_back({"exception", message, title, 0, nullptr, {}, {}});
}

void ScriptedModal::ShellOpen(TForm* owner, const String& verb, const String& file) {
    shown.push_back({"shell", file, verb, 0, owner, {}, {}});
}

int ScriptedModal::Count(const String& kind) const {
    int n = 0;
    for (const Shown& s : shown)
        if (s.kind == kind) ++n;
    return n;
}

const ScriptedModal::Shown* ScriptedModal::Last(const String& kind) const {
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        if (it->kind == kind) return &*it;
    return nullptr;
}

}  // namespace vcl
