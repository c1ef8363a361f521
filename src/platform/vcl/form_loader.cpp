// Building a form from its resource: components by class name, their
// properties, then events and published fields bound by name.
#include <algorithm>
#include <map>

#include "vcl_internal.h"

using namespace vcl::detail;

namespace {

int gLoading = 0;

template <class T>
TComponent* Make(TComponent* owner) {
    return new T(owner);
}

using Factory = TComponent* (*)(TComponent*);

const std::map<String, Factory>& Classes() {
    static const std::map<String, Factory> classes = {
        {"TButton", &Make<TButton>},       {"TLabel", &Make<TLabel>},
        {"TCheckBox", &Make<TCheckBox>},   {"TEdit", &Make<TEdit>},
        {"TMaskEdit", &Make<TMaskEdit>},   {"TComboBox", &Make<TComboBox>},
        {"TListBox", &Make<TListBox>},     {"TMemo", &Make<TMemo>},
        {"TTrackBar", &Make<TTrackBar>},   {"TUpDown", &Make<TUpDown>},
        {"TGroupBox", &Make<TGroupBox>},   {"TRadioGroup", &Make<TRadioGroup>},
        {"TPanel", &Make<TPanel>},         {"TBevel", &Make<TBevel>},
        {"TImage", &Make<TImage>},         {"TScrollBox", &Make<TScrollBox>},
        {"TPageControl", &Make<TPageControl>}, {"TTabSheet", &Make<TTabSheet>},
        {"TMainMenu", &Make<TMainMenu>},   {"TMenuItem", &Make<TMenuItem>},
        {"TOpenDialog", &Make<TOpenDialog>}, {"TSaveDialog", &Make<TSaveDialog>},
    };
    return classes;
}

bool IsEventName(const String& name) {
    return name.size() > 2 && name[0] == 'O' && name[1] == 'n' && std::isupper(static_cast<unsigned char>(name[2]));
}

}  // namespace

namespace vcl::detail {
bool Loading() { return gLoading > 0; }
LoadingScope::LoadingScope() { ++gLoading; }
LoadingScope::~LoadingScope() { --gLoading; }
}  // namespace vcl::detail

class FormLoader {
public:
    FormLoader(TForm& form, String file) : FForm(form), FFile(std::move(file)) {}

    void Load(const DfmObject& root) {
        {
            LoadingScope loading;
            FLines[&FForm] = root.line;
            if (FForm.Name().empty()) FForm.SetName(root.name);
            ApplyProperties(&FForm, root);
            for (const DfmObject& child : root.children) Create(child, &FForm);
        }
        ResolveMenu(root);
        for (TComponent* c : FCreated) Call(c, [c] { c->Loaded(); });
        Call(&FForm, [this] { FForm.Loaded(); });
        FixTabOrder(&FForm);
        for (TComponent* c : FCreated)
            if (auto* w = dynamic_cast<TWinControl*>(c)) FixTabOrder(w);
        BindEvents();
        BindFields(root);
    }

private:
    [[noreturn]] void Fail(int line, const String& what) {
        throw EResourceError(ResourceErrorText(FFile, line, what));
    }

    String Who(TComponent* c) { return c->Name().empty() ? String("the form") : c->Name(); }

    // Runs a step for one component; its error names the component's line.
    template <class F>
    void Call(TComponent* c, F step, int line = 0) {
        try {
            step();
        } catch (const EResourceError& e) {
            if (e.Message.rfind(FFile + ":", 0) == 0) throw;
            Fail(line ? line : FLines[c], Who(c) + ": " + e.Message);
        } catch (const Exception& e) {
            Fail(line ? line : FLines[c], Who(c) + ": " + e.Message);
        }
    }

    void Create(const DfmObject& obj, TComponent* enclosing) {
        auto cls = Classes().find(obj.className);
        if (cls == Classes().end()) Fail(obj.line, "unknown class " + obj.className);
        if (obj.name.empty()) Fail(obj.line, "a component without a name");
        if (FForm.FindComponent(obj.name)) Fail(obj.line, "a second component named " + obj.name);
        TComponent* c = cls->second(&FForm);
        FCreated.push_back(c);
        FLines[c] = obj.line;
        c->SetName(obj.name);
        Call(c, [&] { Place(c, enclosing, obj); }, obj.line);
        ApplyProperties(c, obj);
        for (const DfmObject& child : obj.children) Create(child, c);
    }

    // Controls go into the enclosing windowed control, menu items into
    // their menu or item; menus and dialogs stand by themselves.
    void Place(TComponent* c, TComponent* enclosing, const DfmObject& obj) {
        if (auto* item = dynamic_cast<TMenuItem*>(c)) {
            if (auto* menu = dynamic_cast<TMainMenu*>(enclosing)) menu->Add(item);
            else if (auto* parent = dynamic_cast<TMenuItem*>(enclosing)) parent->Add(item);
            else Fail(obj.line, "menu item " + obj.name + " outside a menu");
        } else if (auto* control = dynamic_cast<TControl*>(c)) {
            auto* parent = dynamic_cast<TWinControl*>(enclosing);
            if (!parent) Fail(obj.line, obj.name + " inside " + Who(enclosing) + ", which holds no controls");
            control->SetParent(parent);
        }
    }

    void ApplyProperties(TComponent* c, const DfmObject& obj) {
        for (const auto& [name, value] : obj.properties) {
            if (IsEventName(name)) {
                if (value.kind != DfmValue::Ident) Fail(value.line, Who(c) + "." + name + ": a handler name expected");
                FEvents.push_back({c, name, value.text, value.line});
                continue;
            }
            Call(c, [c, &n = name, &v = value] { ReadProperty(c, n, v); }, value.line);
        }
    }

    static void ReadProperty(TComponent* c, const String& name, const DfmValue& v) {
        if (auto* control = dynamic_cast<TControl*>(c)) control->ReadProperty(name, v);
        else if (name == "Left" || name == "Top") IntValue(v);  // a non-visual component's place in the designer
        else if (auto* item = dynamic_cast<TMenuItem*>(c)) item->ReadProperty(name, v);
        else if (auto* menu = dynamic_cast<TMainMenu*>(c)) menu->ReadProperty(name, v);
        else if (auto* dialog = dynamic_cast<TOpenDialog*>(c)) dialog->ReadProperty(name, v);
        else UnknownProperty(name);
    }

    void ResolveMenu(const DfmObject&) {
        if (FForm.FPendingMenu.empty()) return;
        String name = FForm.FPendingMenu;
        FForm.FPendingMenu.clear();
        auto* menu = dynamic_cast<TMainMenu*>(FForm.FindComponent(name));
        if (!menu) Fail(FForm.FPendingMenuLine, "Menu: no main menu named " + name);
        FForm.SetMenu(menu);
    }

    // A resource gives each control's place in its parent's tab order.
    static void FixTabOrder(TWinControl* w) {
        if (w->FTabList.size() < 2) return;
        std::stable_sort(w->FTabList.begin(), w->FTabList.end(),
                         [](TWinControl* a, TWinControl* b) { return a->FTabOrder < b->FTabOrder; });
        for (size_t i = 0; i < w->FTabList.size(); ++i) w->FTabList[i]->FTabOrder = static_cast<int>(i);
        w->ApplyTabOrder();
    }

    void BindEvents() {
        for (const PendingEvent& e : FEvents) {
            const TMethod* method = FForm.MethodAddress(e.handler);
            if (!method) Fail(e.line, Who(e.component) + "." + e.event + ": unknown handler " + e.handler);
            bool bound = false;
            if (auto* control = dynamic_cast<TControl*>(e.component)) bound = control->SetEvent(e.event, *method);
            else if (auto* item = dynamic_cast<TMenuItem*>(e.component)) bound = item->SetEvent(e.event, *method);
            if (!bound)
                Fail(e.line, Who(e.component) + ": no event " + e.event + " that takes a handler like " + e.handler);
        }
    }

    void BindFields(const DfmObject& root) {
        for (const TForm::PublishedField& f : FForm.FPublished) {
            TComponent* c = FForm.FindComponent(f.name);
            if (!c) Fail(root.line, "no component " + f.name + " for the form's field of that name");
            if (!f.fits(c)) Fail(FLines.count(c) ? FLines[c] : root.line, f.name + " is not of the class of the form's field");
            *f.field = c;
        }
    }

    struct PendingEvent {
        TComponent* component;
        String event, handler;
        int line;
    };

    TForm& FForm;
    String FFile;
    std::vector<TComponent*> FCreated;
    std::map<TComponent*, int> FLines;
    std::vector<PendingEvent> FEvents;
};

void TForm::LoadFromResource(const String& formName) {
    String file = formName + ".dfm";
    DfmObject root = ParseDfm(FormResourceText(formName), file);
    FormLoader(*this, file).Load(root);
}
