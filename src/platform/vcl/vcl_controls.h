// Visual controls. Each control is a component with a Qt widget behind it.
//
// Properties are get/set member pairs (Left()/SetLeft()); events are public
// members (OnClick, OnChange, ...). Controls set from code behave as when the
// user changes them, and only on a real change:
//  - TTrackBar refuses a Min above its Max and a Max below its Min, keeps
//    Position within [Min, Max], and runs OnChange only when Position really
//    changes (also when a moved bound moves it);
//  - TRadioGroup::SetItemIndex to another item runs OnClick, to the same item
//    runs nothing; an index above the last item is taken as the last; -1 (or
//    below) clears the selection, which runs nothing, as no item is clicked;
//  - TCheckBox::SetChecked / SetState that changes the state runs OnClick;
//  - TUpDown::SetPosition and TComboBox::SetItemIndex run nothing;
//  - TEdit::SetText that changes the text runs OnChange.
// User input through the widgets runs the same handlers, through
// DispatchEvent.
//
// The mouse wheel: a track bar or combo box takes wheel turns only while it
// has the keyboard focus. Otherwise the turn goes on to its parents, so a
// scroll box beneath the pointer scrolls and no value changes.
//
// The keyboard focus: a control hidden or disabled while it (or a control
// inside it) has the focus leaves no control focused; the form's window
// takes the keyboard, nothing scrolls, and Tab starts again from the first
// tab stop. A click on a page control's tab focuses the page control.
#pragma once

#include <cstdint>

#include "vcl_classes.h"

class QWidget;
class QObject;
class QEvent;
class QTimer;
struct DfmValue;

using TColor = uint32_t;
// System colours (resolved from the widget palette) and a few plain ones.
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBlack = 0x000000;
constexpr TColor clBlue = 0xFF0000;  // $00BBGGRR as the framework stores it
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clDefault = 0x20000000;

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

struct TFont {
    String Name = "MS Sans Serif";
    int Height = -11;  // negative: character height in pixels
    TFontStyles Style = 0;
    TColor Color = clWindowText;
    int Size() const;          // points at 96 dpi
    void SetSize(int points);  // Height = -round(points * 96 / 72)
};

enum TCursor { crDefault, crHandPoint };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TWinControl;

class TControl : public TComponent {
public:
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool on);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool on);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    const String& Caption() const { return FCaption; }
    virtual void SetCaption(const String& s);
    const String& Hint() const { return FHint; }
    void SetHint(const String& s);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool on);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& f);
    void SetFontSize(int points);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor c);

    // What a user's click does: runs OnClick (buttons also close a modal
    // form with their ModalResult).
    virtual void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;

    QWidget* Widget() const { return FWidget; }

    // Form resource loading: set one stored property or bind one event.
    // Unknown names throw EResourceError.
    virtual void ReadProperty(const String& name, const DfmValue& value);
    virtual bool SetEvent(const String& name, const TMethod& handler);

    // Enabled here and in every parent: what a user can click.
    bool EffectivelyEnabled() const;

protected:
    TControl(TComponent* AOwner, QWidget* widget);
    virtual void ApplyFont();
    virtual void ApplyCaption() {}
    virtual void ApplyColor();
    void SetWidgetGeometry();
    // Input events of the widget (and of widgets watched for it); true
    // swallows the event.
    virtual bool WidgetEvent(QObject* watched, QEvent* event);
    void Watch(QObject* object);  // routes object's events to WidgetEvent
    void FontChanged();           // applies Font to the widget and to ParentFont children
    void ReleaseFocus();          // about to be hidden or disabled: the form takes the focus

    friend class TWinControl;
    friend class TPageControl;
    friend class TScrollBox;
    friend class FormLoader;
    QWidget* FWidget;
    QObject* FGuard;              // event filter and context of every connection
    bool FMouseClicks = false;    // a mouse click on the widget runs Click()
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FEnabled = true, FVisible = true;
    String FCaption, FHint;
    bool FShowHint = false;
    bool FParentFont = true;
    TColor FColor = clDefault;
    TFont FFont;
    TCursor FCursor = crDefault;
};

class TWinControl : public TControl {
public:
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int order);
    // Whether Tab stops at the control itself (its children are visited
    // either way).
    bool TabStop() const;
    void SetTabStop(bool on);
    // The framework's tab sequence: this control, then its children in
    // their tab order, each followed by its own.
    virtual void AppendTabSequence(std::vector<TWinControl*>& out);
    // The widget that Tab gives the focus to; nullptr when Tab passes by.
    virtual QWidget* TabTarget() const;
    void SetFocus();
    bool Focused() const;
    TKeyPressEvent OnKeyPress;
    // Where child widgets live (a scroll box's or page's inner area).
    virtual QWidget* ClientWidget() const { return FWidget; }
    int ClientWidth() const;
    int ClientHeight() const;

    void ReadProperty(const String& name, const DfmValue& value) override;
    bool SetEvent(const String& name, const TMethod& handler) override;

protected:
    TWinControl(TComponent* AOwner, QWidget* widget);
    friend class TControl;
    friend class FormLoader;
    ~TWinControl() override;  // frees the child controls first
    virtual void InsertControl(TControl* c);
    virtual void RemoveControl(TControl* c);
    void StackInParent(TControl* c);
    void FindLowestWindowed();
    // A focus-in event of the widget enters the control: it becomes the
    // form's focused control other than by the mouse, not just gets the
    // focus back with its window, after a menu or a dialog.
    bool FocusEnters(const QEvent* focusIn) const;
    virtual void ChildMoved(TControl*) {}
    bool WidgetEvent(QObject* watched, QEvent* event) override;
    // A key press handler replaced the typed character: type this one.
    virtual void TypeChar(char) {}
    // The control takes wheel turns only while it has the focus; an
    // unfocused one passes them on to its parents.
    bool FWheelNeedsFocus = false;
    void ApplyTabOrder();  // the Qt focus chain of the children follows FTabList
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    int FTabOrder = -1;
    TWinControl* FLowestWindowed = nullptr;  // the windowed child lowest in the stacking order
};

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* AOwner);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool on);
    void SetAlignment(TAlignment a);
    void ReadProperty(const String& name, const DfmValue& value) override;
    bool SetEvent(const String& name, const TMethod& handler) override;
    void Loaded() override;

protected:
    void ApplyCaption() override;
    void ApplyFont() override;

private:
    void Fit();
    bool FAutoSize = true, FWordWrap = false;
    TAlignment FAlignment = taLeftJustify;
};

// Click(): a non-zero ModalResult goes to the owning form first (ending its
// modal showing), then OnClick runs, as the framework orders it.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    int ModalResult = 0;
    bool Default() const { return FDefault; }
    void SetDefault(bool on);
    void Click() override;
    void ReadProperty(const String& name, const DfmValue& value) override;
    bool SetEvent(const String& name, const TMethod& handler) override;

protected:
    void ApplyCaption() override;

private:
    bool FDefault = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool on) { SetState(on ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState s);
    void Click() override;  // the user's click: toggles the box
    void ReadProperty(const String& name, const DfmValue& value) override;
    bool SetEvent(const String& name, const TMethod& handler) override;

protected:
    void ApplyCaption() override;

private:
    TCheckBoxState FState = cbUnchecked;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner);
    virtual String Text() const;
    virtual void SetText(const String& s);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool on);
    void SetMaxLength(int n);
    // Entering the edit by the keyboard (Tab, Shift+Tab, SetFocus, the
    // first focus of a window shown) selects all its text; a mouse click
    // places the caret. On by default.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool on) { FAutoSelect = on; }
    // What typing one character does (runs OnKeyPress first; a Key set to 0
    // there is swallowed).
    virtual void KeyPress(char key);
    TNotifyEvent OnChange;
    void ReadProperty(const String& name, const DfmValue& value) override;
    bool SetEvent(const String& name, const TMethod& handler) override;

protected:
    void TextEdited();  // the widget's text changed: runs OnChange when Text() changed
    void TypeChar(char key) override;
    bool WidgetEvent(QObject* watched, QEvent* event) override;
    String FLastText;
    bool FReadOnly = false;
    bool FAutoSelect = true;
};

// An edit with an input mask such as "00,000;1;_": '0' a required digit,
// other characters literals kept in the text (the ";1"), '_' shown for an
// empty place; Text() gives empty places as blanks, SetText("") empties
// every place.
class TMaskEdit : public TEdit {
public:
    explicit TMaskEdit(TComponent* AOwner);
    const String& EditMask() const { return FEditMask; }
    void SetEditMask(const String& mask);
    String Text() const override;
    void SetText(const String& s) override;
    void KeyPress(char key) override;
    void ReadProperty(const String& name, const DfmValue& value) override;

private:
    String FEditMask;
    String FPlaces;             // a place of the mask each: its mask character, ' ' for a literal
    bool FSaveLiterals = true;  // literals are part of Text()
    char FBlank = '_';
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;
    void Loaded() override;
    TStrings& Items();
    int ItemIndex() const;
    void SetItemIndex(int index);     // runs nothing
    void SetStyle(TComboBoxStyle s);
    // How many items the dropped-down list shows at once (8); a longer list
    // scrolls.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int n);
    String Text() const;
    void Select(int index);           // the user's choice: runs OnChange
    TNotifyEvent OnChange;
    void ReadProperty(const String& name, const DfmValue& value) override;
    bool SetEvent(const String& name, const TMethod& handler) override;

private:
    class TItems;
    TItems* FItems;
    int FPendingIndex = -1;
    int FDropDownCount = 8;
};

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* AOwner);
    ~TListBox() override;
    TStrings& Items();
    int ItemIndex() const;
    void SetItemIndex(int index);
    void SetItemHeight(int h);
    void SetVisible(bool on) override;
    void ReadProperty(const String& name, const DfmValue& value) override;

private:
    class TItems;
    TItems* FItems;
    int FItemIndex = -1;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;
    TStrings& Lines();
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool on);
    void SetScrollBars(TScrollStyle s);
    void ReadProperty(const String& name, const DfmValue& value) override;

private:
    class TLines;
    TLines* FLines;
    bool FReadOnly = false;
};

enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);  // Min 0, Max 10, Position 0
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int v);       // refused when above Max
    void SetMax(int v);       // refused when below Min
    void SetPosition(int v);  // limited to [Min, Max]
    void SetFrequency(int f);
    void SetTickStyle(TTickStyle s);
    void SetTickMarks(TTickMark m);
    void SetThumbLength(int n);
    void SetOrientation(TTrackBarOrientation o);
    // The steps of the keys and the wheel: Left, Up and a wheel turn away
    // from the user go LineSize towards Min, Right, Down and a turn towards
    // the user LineSize towards Max; PageUp and PageDown go PageSize; Home
    // and End go to Min and Max. A press of the left button beside the
    // thumb goes PageSize towards the pointer, and again and again while
    // the button is held, until the thumb reaches the pointer.
    int LineSize() const { return FLineSize; }
    void SetLineSize(int n);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int n);
    TNotifyEvent OnChange;
    void ReadProperty(const String& name, const DfmValue& value) override;
    bool SetEvent(const String& name, const TMethod& handler) override;

protected:
    bool WidgetEvent(QObject* watched, QEvent* event) override;

private:
    void Changed(int oldPosition);
    void Sync();
    // The held button's paging: the step towards the pointer (0 when the
    // pointer is on the thumb), and one step more if it is still beside it.
    int PageTowards(int x, int y) const;
    void PageStep();
    void StopPaging();
    int FMin = 0, FMax = 10, FPosition = 0, FFrequency = 1;
    int FLineSize = 1, FPageSize = 2;
    int FWheelTurned = 0;  // eighths of a degree not yet stepped
    QTimer* FPaging = nullptr;  // repeats the page step while the button is held
    int FPagingStep = 0;        // +PageSize or -PageSize while paging, else 0
    int FPointerX = 0, FPointerY = 0;  // where the held button is, in the widget
    TTickStyle FTickStyle = tsAuto;
    TTickMark FTickMarks = tmBottomRight;
    bool FSyncing = false;
};

enum TUDOrientation { udHorizontal, udVertical };

// An up-down button pair; Position is 16-bit. A click on an arrow steps
// Position by one within [Min, Max] (no wrap) and then runs OnClick.
class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* AOwner);  // Min 0, Max 100, Position 0
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);  // limited to [Min, Max]; runs nothing
    void SetOrientation(TUDOrientation o);
    void ClickButton(TUDBtnType button);  // what a click on an arrow does
    TUDClickEvent OnClick;
    void ReadProperty(const String& name, const DfmValue& value) override;
    bool SetEvent(const String& name, const TMethod& handler) override;

private:
    int16_t FMin = 0, FMax = 100, FPosition = 0;
    TUDOrientation FOrientation = udVertical;
    void Arrange();
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* AOwner);
    QWidget* ClientWidget() const override;

protected:
    void ApplyCaption() override;
};

class TRadioGroup : public TGroupBox {
public:
    explicit TRadioGroup(TComponent* AOwner);
    ~TRadioGroup() override;
    void Loaded() override;
    TStrings& Items();
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    void SetColumns(int n);
    void ReadProperty(const String& name, const DfmValue& value) override;
    bool SetEvent(const String& name, const TMethod& handler) override;
    // Click() is "the group was clicked": use SetItemIndex for the user's
    // choice of an item, it runs OnClick the same way.

    // The group is one tab stop: Tab lands on the selected item (the first
    // when none is), the arrow keys select the next or previous item.
    QWidget* TabTarget() const override;

protected:
    bool WidgetEvent(QObject* watched, QEvent* event) override;

private:
    class TItems;
    friend class TItems;
    void Rebuild();
    void Arrange();
    void CheckButtons();
    TItems* FItems;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FLoadingIndex = false;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* AOwner);
    void SetBevelInner(TBevelCut b);
    void SetBevelOuter(TBevelCut b);
    void ReadProperty(const String& name, const DfmValue& value) override;

protected:
    void ApplyCaption() override;

private:
    QWidget* FText;
    TBevelCut FBevelInner = bvNone, FBevelOuter = bvRaised;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };

class TBevel : public TControl {
public:
    explicit TBevel(TComponent* AOwner);
    void SetShape(TBevelShape s);
    void ReadProperty(const String& name, const DfmValue& value) override;

private:
    TBevelShape FShape = bsBox;
};

class TImage : public TControl {
public:
    explicit TImage(TComponent* AOwner);
    void SetStretch(bool on);
    // An image file from the program's resources, e.g. ":/forms/About.png"
    // (PNG, BMP, XPM, PPM, JPEG, GIF; SVG needs Qt's svg module, which the
    // build does not use). A missing or unreadable file throws
    // EResourceError. The resource's Picture property names the file.
    void LoadPicture(const String& resource);
    void ReadProperty(const String& name, const DfmValue& value) override;

private:
    bool FStretch = false;
    String FPicture;
};

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    QWidget* ClientWidget() const override;
    int VertScrollPosition() const;
    void SetVertScrollPosition(int y);

protected:
    void ChildMoved(TControl* c) override;
    void InsertControl(TControl* c) override;
    void RemoveControl(TControl* c) override;

private:
    void Extend(TControl* c);   // grows the range to hold c
    void RecomputeRange();      // the range from every visible child
    void ScheduleRecompute();
    void ResizeInner();
    QWidget* FInner;
    int FRangeW = 0, FRangeH = 0;
    bool FRecomputePending = false;
};

class TTabSheet;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner);
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
    void ReadProperty(const String& name, const DfmValue& value) override;
    void Loaded() override;

protected:
    void InsertControl(TControl* c) override;
    void RemoveControl(TControl* c) override;
    // The tabs: a click gives the page control the focus, the wheel does
    // nothing there.
    bool WidgetEvent(QObject* watched, QEvent* event) override;

public:
    void AppendTabSequence(std::vector<TWinControl*>& out) override;  // into the shown page only

private:
    friend class TTabSheet;
    std::vector<TTabSheet*> FPages;
    String FPendingActive;
};

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    TPageControl* PageControl() const;
    // A page fills its page control's page area: the bounds are kept only.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void ApplyCaption() override;
};
