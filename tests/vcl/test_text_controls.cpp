// Edits, the masked edit, labels, buttons, memos and list boxes, driven by
// code and by real Qt input events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/vcl/vcl.h"

namespace {

void Key(QWidget* w, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

void MouseClick(QWidget* w) {
    QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

class TextControls : public ::testing::Test {
protected:
    // A label of the form's with this caption, on parent (the form itself
    // if none).
    TLabel* Label(const String& caption, TWinControl* parent = nullptr) {
        auto* label = new TLabel(&form);
        label->SetParent(parent ? parent : &form);
        label->SetCaption(caption);
        return label;
    }

    TForm form{Application};
    std::vector<String> events;
};

TEST_F(TextControls, EditChangesClicksAndTypedKeys) {
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->OnChange = [&](TObject*) { events.push_back("change " + edit->Text()); };
    edit->OnClick = [&](TObject*) { events.push_back("click"); };
    edit->OnKeyPress = [&](TObject*, char& k) {
        events.push_back("key " + std::to_string(k));
        if (k == 'z') k = 0;  // swallowed
    };
    edit->SetText("33.000");
    edit->SetText("33.000");  // the same text: no change
    EXPECT_EQ(events, (std::vector<String>{"change 33.000"}));

    events.clear();
    QWidget* w = edit->Widget();
    Key(w, Qt::Key_A, "a");
    Key(w, Qt::Key_Z, "z");
    Key(w, Qt::Key_Escape, QString(QChar(27)));
    MouseClick(w);
    EXPECT_EQ(events, (std::vector<String>{"key 97", "change 33.000a", "key 122", "key 27", "click"}));
    EXPECT_EQ(edit->Text(), "33.000a");

    // Read-only: typing changes nothing, the key event still runs.
    events.clear();
    edit->SetReadOnly(true);
    edit->KeyPress('q');
    EXPECT_EQ(edit->Text(), "33.000a");
    EXPECT_EQ(events, (std::vector<String>{"key 113"}));
}

TEST_F(TextControls, MaskEditKeepsTheLiteralAndReadsEmptyPlacesAsBlanks) {
    auto* edit = new TMaskEdit(&form);
    edit->SetParent(&form);
    edit->SetEditMask("00,000;1;_");
    EXPECT_EQ(edit->Text(), "  ,   ");
    EXPECT_EQ(static_cast<QLineEdit*>(edit->Widget())->displayText().toStdString(), "__,___");
    edit->OnChange = [&](TObject*) { events.push_back(edit->Text()); };

    for (char c : String("33025")) edit->KeyPress(c);
    EXPECT_EQ(edit->Text(), "33,025");
    edit->KeyPress(8);  // backspace empties the last place
    EXPECT_EQ(edit->Text(), "33,02 ");
    edit->KeyPress('x');  // not a digit: refused by the mask
    EXPECT_EQ(edit->Text(), "33,02 ");
    EXPECT_EQ(events.back(), "33,02 ");
    EXPECT_EQ(events.size(), 6u);

    edit->SetText("");
    EXPECT_EQ(edit->Text(), "  ,   ");
    EXPECT_EQ(events.back(), "  ,   ");
    edit->SetText("40,000");
    EXPECT_EQ(edit->Text(), "40,000");
    edit->SetText("4 ,0 0");  // places stay where they are
    EXPECT_EQ(edit->Text(), "4 ,0 0");

    // Typing through real key events, Esc included.
    edit->SetText("");
    char lastKey = 0;
    edit->OnKeyPress = [&](TObject*, char& k) { lastKey = k; };
    for (char c : String("57250")) Key(edit->Widget(), static_cast<Qt::Key>(Qt::Key_0 + (c - '0')), QString(QChar(c)));
    EXPECT_EQ(edit->Text(), "57,250");
    Key(edit->Widget(), Qt::Key_Escape, QString(QChar(27)));
    EXPECT_EQ(lastKey, 27);
}

TEST_F(TextControls, LabelFitsItsTextAndReportsTheMouse) {
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption("Level CTCSS on reception");
    int wide = label->Width();
    EXPECT_EQ(wide, label->Widget()->sizeHint().width());
    EXPECT_GT(label->Height(), 0);
    label->SetCaption("Off");
    EXPECT_LT(label->Width(), wide);
    label->SetAutoSize(false);
    label->SetWidth(70);
    label->SetCaption("254,1 Hz");
    EXPECT_EQ(label->Width(), 70);

    TFont font = label->Font();
    font.Color = clBlue;
    font.Style = fsUnderline;
    label->SetFont(font);
    label->SetCursor(crHandPoint);
    EXPECT_TRUE(label->Widget()->font().underline());
    EXPECT_EQ(label->Widget()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(label->Widget()->cursor().shape(), Qt::PointingHandCursor);

    label->OnMouseEnter = [&](TObject*) { events.push_back("enter"); };
    label->OnClick = [&](TObject*) { events.push_back("click"); };
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(label->Widget(), &enter);
    label->SetEnabled(false);  // the mouse still enters a disabled label
    QApplication::sendEvent(label->Widget(), &enter);
    label->SetEnabled(true);
    MouseClick(label->Widget());
    EXPECT_EQ(events, (std::vector<String>{"enter", "enter", "click"}));
}

// The channel table holds hundreds of labels of one caption; each is
// sized by its own font all the same.
TEST_F(TextControls, LabelsOfOneCaptionEachFitTheirOwnFont) {
    auto fits = [](TLabel* label) {
        const QSize hint = label->Widget()->sizeHint();
        return label->Width() == hint.width() && label->Height() == hint.height();
    };
    TLabel* plain = Label("CTCSS Off");
    TLabel* twin = Label("CTCSS Off");
    EXPECT_TRUE(fits(plain));
    EXPECT_EQ(twin->Width(), plain->Width());

    TLabel* large = Label("CTCSS Off");
    large->SetFontSize(14);
    EXPECT_TRUE(fits(large));
    EXPECT_GT(large->Width(), plain->Width());
    TLabel* bold = new TLabel(&form);
    bold->SetParent(&form);
    TFont font = bold->Font();
    font.Style = fsBold;
    bold->SetFont(font);
    bold->SetCaption("CTCSS Off");
    EXPECT_TRUE(fits(bold));
    EXPECT_GT(bold->Width(), plain->Width());

    twin->SetFontSize(14);  // now the large one's twin
    EXPECT_EQ(twin->Width(), large->Width());
    EXPECT_EQ(twin->Height(), large->Height());
    plain->SetCaption("CTCSS Off Off");
    EXPECT_TRUE(fits(plain));
    EXPECT_GT(plain->Width(), bold->Width());
}

// A label sized in a font it takes from its parent, or is given, is the
// size its caption needs in that font, the new font measured only once
// the label has it.
TEST_F(TextControls, ALabelIsSizedInTheFontItEndsWith) {
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto needs = [](TLabel* label) {
        return QFontMetrics(label->Widget()->font()).size(0, QString::fromStdString(label->Caption()));
    };
    auto size = [](TLabel* label) { return QSize(label->Width(), label->Height()); };
    for (const String caption : {"07", "Rx (MHz)"}) {
        TLabel* inherits = Label(caption, panel);
        TLabel* own = Label(caption);
        own->SetFontSize(19);
        EXPECT_EQ(size(own), needs(own)) << caption;
        panel->SetFontSize(17);
        EXPECT_EQ(inherits->Widget()->font().pixelSize(), 23);
        EXPECT_EQ(size(inherits), needs(inherits)) << caption;
        panel->SetFontSize(8);
    }
}

TEST_F(TextControls, ButtonClickModalResultAndDefault) {
    auto* ok = new TButton(&form);
    ok->SetParent(&form);
    ok->ModalResult = mrOk;
    ok->OnClick = [&](TObject*) { events.push_back("ok " + std::to_string(form.ModalResult())); };
    auto* other = new TButton(&form);
    other->SetParent(&form);
    other->OnClick = [&](TObject*) { events.push_back("other"); };

    ok->Click();  // not modal: the result is kept, nothing ends
    EXPECT_EQ(form.ModalResult(), mrOk);
    static_cast<QPushButton*>(other->Widget())->click();
    other->SetEnabled(false);
    other->Click();  // disabled: ignored
    EXPECT_EQ(events, (std::vector<String>{"ok 1", "other"}));

    // Enter presses the default button when no button has the focus.
    events.clear();
    ok->SetDefault(true);
    form.SetModalResult(mrNone);
    Key(form.Widget(), Qt::Key_Return, "\r");
    EXPECT_EQ(events, (std::vector<String>{"ok 1"}));
}

TEST_F(TextControls, MemoAndListBoxShowTheirLists) {
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssNone);
    memo->Lines().Add("Reading data from device");
    memo->Lines().Add("Data block succefully read from device");
    auto* text = static_cast<QPlainTextEdit*>(memo->Widget());
    EXPECT_EQ(text->toPlainText().toStdString(), "Reading data from device\nData block succefully read from device");
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    memo->Lines().Clear();
    EXPECT_TRUE(text->toPlainText().isEmpty());

    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->Items().SetItems({"Working Range:", "33.000-39.975"});
    list->Items().Add("MHz");
    auto* widget = static_cast<QListWidget*>(list->Widget());
    ASSERT_EQ(widget->count(), 3);
    EXPECT_EQ(widget->item(2)->text().toStdString(), "MHz");
    EXPECT_EQ(list->Items()[1], "33.000-39.975");
}

}  // namespace
