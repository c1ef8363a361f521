// Forms, menus, file dialogs and the application object.
#pragma once

#include <map>

#include "vcl_controls.h"

class TMainMenu;
class TForm;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& s);  // "-" makes a separator line
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    void Add(TMenuItem* item);
    void SetEnabled(bool on);
    void Click();  // what choosing the item does: runs OnClick
    TNotifyEvent OnClick;
    void ReadProperty(const String& name, const DfmValue& value);
    bool SetEvent(const String& name, const TMethod& handler);
    void* Action() const { return FAction; }  // the QAction or QMenu behind it

private:
    friend class TMainMenu;
    void Build(void* parentMenu, const String& shown);  // shown: the caption with its hot key
    void Changed();  // the menu bar shows the new structure
    void SetMenuDeep(TMainMenu* menu);
    TMainMenu* FMenu = nullptr;
    String FCaption;
    bool FEnabled = true;
    TMenuItem* FParentItem = nullptr;
    std::vector<TMenuItem*> FItems;
    void* FAction = nullptr;
};

class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    void Add(TMenuItem* item);
    // Automatic hot keys (the default): each title and item that names no
    // hot key of its own ("&" before a letter) is shown with the first
    // letter of its caption that no sibling has taken; Caption stays as set.
    bool AutoHotkeys() const { return FAutoHotkeys; }
    void SetAutoHotkeys(bool automatic);
    void ReadProperty(const String& name, const DfmValue& value);

private:
    friend class TForm;
    friend class TMenuItem;
    void Attach(QWidget* menuBar);
    void Rebuild();
    bool FAutoHotkeys = true;
    std::vector<TMenuItem*> FItems;
    QWidget* FMenuBar = nullptr;
    TForm* FForm = nullptr;
};

// File dialogs run through the modal seam (modal.h).
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);
    String Title, Filter, InitialDir, FileName, DefaultExt;
    int FilterIndex = 1;
    bool Execute();  // true when the user chose a name (then in FileName)
    virtual bool IsSave() const { return false; }
    void ReadProperty(const String& name, const DfmValue& value);
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    bool IsSave() const override { return true; }
};

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly,
    poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter
};
enum TModalResultValue { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                         mrIgnore = 5, mrYes = 6, mrNo = 7 };

// A window. The derived class publishes its components and handlers, then
// calls LoadFromResource, which builds the designed layout from the form
// resource ":/forms/<name>.dfm" and binds every published field and every
// event named there; a field without a component, an unknown handler or
// a malformed resource throws EResourceError naming the file and line.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    void SetClientSize(int width, int height);
    void SetBorderStyle(TFormBorderStyle s);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderIcons(TBorderIcons icons);
    void SetPosition(TPosition p);
    void SetMenu(TMainMenu* menu);
    TMainMenu* Menu() const { return FMenu; }
    void SetCaption(const String& s) override;
    QWidget* ClientWidget() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool on) override;

    int ShowModal();  // through the modal seam; returns ModalResult
    void Close();     // ends a modal showing (ModalResult mrCancel if none) or hides
    bool Modal() const { return FModal; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int r);  // non-zero ends a modal showing
    bool Showing() const;
    void PlaceOnScreen();  // applies Position before showing

    // The native window handle stand-in handed to MessageBoxA/ShellExecuteA.
    void* Handle() { return this; }

    void ReadProperty(const String& name, const DfmValue& value) override;

    // The published handlers: their names in the order the class publishes
    // them, and the handler of a name (null when none is published by it).
    // The form resource binds events to them by name.
    std::vector<String> MethodNames() const;
    const TMethod* MethodAddress(const String& name) const;

    // What Tab (forward) and Shift+Tab do: the focus goes to the next tab
    // stop of the form's tab sequence, round the end; false when there is
    // none.
    bool SelectNext(bool forward);

    // Used by the modal seam's hosts.
    void BeginModal();
    void EndModal();
    bool ModalDone() const { return !FModal || FModalResult != mrNone; }

protected:
    template <class T>
    void Publish(const String& name, T*& field) {
        FPublished.push_back({name, reinterpret_cast<TComponent**>(&field),
                              [](TComponent* c) { return dynamic_cast<T*>(c) != nullptr; }});
    }
    void PublishMethod(const String& name, TMethod method);
    void LoadFromResource(const String& formName);
    bool WidgetEvent(QObject* watched, QEvent* event) override;

private:
    struct PublishedField {
        String name;
        TComponent** field;
        bool (*fits)(TComponent*);
    };
    friend class FormLoader;
    friend class TMainMenu;
    friend class TControl;
    friend class TWinControl;
    std::vector<PublishedField> FPublished;
    // The control that has (or, while the window is not active, would
    // have) the input focus; compared, never followed.
    const QWidget* FFocusWidget = nullptr;
    std::vector<std::pair<String, TMethod>> FMethods;
    QWidget* FClient;
    QWidget* FMenuBar = nullptr;
    TMainMenu* FMenu = nullptr;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    bool FModal = false;
    int FModalResult = mrNone;
    int FClientW = 0, FClientH = 0;
    String FPendingMenu;  // Menu named in the resource, resolved after loading
    int FPendingMenuLine = 0;
    void LayoutWindow();  // menu bar and client area inside the window
    void ActivateMenuBar();  // F10
    void ApplyWindowFlags();
    TWinControl* ControlOf(const QWidget* w);  // the innermost control holding w
    int MenuBarHeight() const;
};

#define VCL_PUBLISH(field) Publish(#field, field)
#define VCL_PUBLISH_NOTIFY(method) \
    PublishMethod(#method, TNotifyEvent([this](TObject* s) { method(s); }))
#define VCL_PUBLISH_KEYPRESS(method) \
    PublishMethod(#method, TKeyPressEvent([this](TObject* s, char& k) { method(s, k); }))
#define VCL_PUBLISH_UDCLICK(method) \
    PublishMethod(#method, TUDClickEvent([this](TObject* s, TUDBtnType b) { method(s, b); }))

class TApplication : public TComponent {
public:
    TApplication();
    void Initialize();  // makes the Qt application; call once before any form
    template <class T>
    void CreateForm(T*& reference) {
        reference = new T(this);
        if (!FMainForm) FMainForm = reference;
    }
    // Shows the main form and runs until it closes or Terminate; then the
    // program ends: the forms are destroyed, the last created first.
    void Run();
    void Terminate();  // ends Run
    bool Terminated() const { return FTerminated; }
    void ShowException(const Exception& e);  // the standard exception box
    void HandleException();                  // inside a catch: shows what was thrown
    TForm* MainForm() const { return FMainForm; }
    void ProcessMessages();
    String Title;  // the program's name unless the program sets another

private:
    friend class TForm;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
};

extern TApplication* Application;
