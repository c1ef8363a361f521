// Form resources: the parser's values, a whole form built and bound from
// its resource, and every kind of bad resource refused with file and line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>

#include <clocale>

#include "platform/vcl/vcl.h"

namespace {

TEST(FormResource, ParsesValuesOfEveryKind) {
    const String text =
        "object F: TF\n"
        "  A = -11\n"
        "  B = 1.5\n"
        "  C = 'it''s'#32'a '#1082#1086#1090 +\n"
        "    ' and more'\n"
        "  D = [biSystemMenu, biMinimize]\n"
        "  E = []\n"
        "  Items.Strings = (\n"
        "    'one'\n"
        "    'tw' + 'o')\n"
        "  F = True\n"
        "  G = $00FF0000\n"
        "  object X: TButton\n"
        "    Caption = 'Ж'\n"
        "  end\n"
        "end\n";
    DfmObject root = ParseDfm(text, "t.dfm");
    EXPECT_EQ(root.name, "F");
    EXPECT_EQ(root.className, "TF");
    ASSERT_EQ(root.properties.size(), 8u);
    EXPECT_EQ(root.properties[0].second.AsInt(), -11);
    EXPECT_DOUBLE_EQ(root.properties[1].second.real, 1.5);
    EXPECT_EQ(root.properties[2].second.AsString(), "it's a кот and more");
    EXPECT_EQ(root.properties[2].second.line, 4);
    EXPECT_EQ(root.properties[3].second.AsList(), (std::vector<String>{"biSystemMenu", "biMinimize"}));
    EXPECT_TRUE(root.properties[4].second.AsList().empty());
    EXPECT_EQ(root.properties[5].first, "Items.Strings");
    EXPECT_EQ(root.properties[5].second.AsList(), (std::vector<String>{"one", "two"}));
    EXPECT_TRUE(root.properties[6].second.AsBool());
    EXPECT_EQ(root.properties[7].second.AsInt(), 0xFF0000);
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_EQ(root.children[0].line, 13);
    EXPECT_EQ(root.children[0].properties[0].second.AsString(), "Ж");
    // A value of the wrong kind is refused by its accessor.
    EXPECT_THROW(root.properties[0].second.AsString(), EResourceError);
    EXPECT_THROW(root.properties[2].second.AsBool(), EResourceError);
}

// A form's numbers are written with a full stop in every language; the C
// library's numbers of a decimal-comma language (the test main puts the C
// locale back before the next test).
TEST(FormResource, ReadsAFormNumberInADecimalCommaLanguage) {
    const auto commaLocale = [] {
        for (const char* name : {"de_DE.UTF-8", "tr_TR.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
            if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') return true;
        return false;
    };
    if (!commaLocale()) GTEST_SKIP() << "no decimal-comma locale installed (locale-gen de_DE.UTF-8)";
    DfmObject root = ParseDfm("object F: TF\n  A = 1.5\n  B = 25E-3\nend\n", "t.dfm");
    EXPECT_DOUBLE_EQ(root.properties[0].second.real, 1.5);
    EXPECT_DOUBLE_EQ(root.properties[1].second.real, 0.025);
}

String ParseError(const String& text) {
    try {
        ParseDfm(text, "x.dfm");
    } catch (const EResourceError& e) {
        return e.Message;
    }
    return "no error";
}

TEST(FormResource, MalformedTextNamesFileAndLine) {
    EXPECT_EQ(ParseError("object F: TF\n  A = 'open\nend\n"), "x.dfm:2: unterminated string");
    EXPECT_EQ(ParseError("object F: TF\n  A 5\nend\n"), "x.dfm:2: '=' expected, not a number");
    EXPECT_EQ(ParseError("object F: TF\n  A = \nend\n"), "x.dfm:2: a value expected after '=' on the same line");
    EXPECT_EQ(ParseError("object F: TF\n  A = [x y]\nend\n"), "x.dfm:2: ',' or ']' expected, not 'y'");
    EXPECT_EQ(ParseError("object F: TF\n  A = 1\n"), "x.dfm:3: 'end' expected for F (begun at line 1)");
    EXPECT_EQ(ParseError("object F: TF\nend\nend\n"), "x.dfm:3: text after the end of the form");
    EXPECT_EQ(ParseError("F: TF\nend\n"), "x.dfm:1: 'object' expected, not 'F'");
    EXPECT_EQ(ParseError("object F: TF\n  A = 12x\nend\n"), "x.dfm:2: bad number");
}

// A form class that publishes what Good.dfm holds.
class TGoodForm : public TForm {
public:
    TGroupBox* GroupBox1 = nullptr;
    TButton* Button1 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TEdit* Edit1 = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TUpDown* UpDown1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TLabel* Label1 = nullptr;
    TMemo* Memo1 = nullptr;
    TPanel* Panel1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TMaskEdit* MaskEdit1 = nullptr;
    TImage* Image1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* N2 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;

    std::vector<String> calls;

    explicit TGoodForm(TComponent* owner, const String& extraField = String()) : TForm(owner) {
        VCL_PUBLISH(GroupBox1);
        VCL_PUBLISH(Button1);
        VCL_PUBLISH(RadioGroup1);
        VCL_PUBLISH(Edit1);
        VCL_PUBLISH(TrackBar1);
        VCL_PUBLISH(UpDown1);
        VCL_PUBLISH(CheckBox1);
        VCL_PUBLISH(ComboBox1);
        VCL_PUBLISH(PageControl1);
        VCL_PUBLISH(TabSheet1);
        VCL_PUBLISH(TabSheet2);
        VCL_PUBLISH(Label1);
        VCL_PUBLISH(Memo1);
        VCL_PUBLISH(Panel1);
        VCL_PUBLISH(ListBox1);
        VCL_PUBLISH(MaskEdit1);
        VCL_PUBLISH(Image1);
        VCL_PUBLISH(MainMenu1);
        VCL_PUBLISH(N1);
        VCL_PUBLISH(N2);
        VCL_PUBLISH(OpenDialog1);
        if (extraField == "wrong class") Publish("Edit1", wrongClass);
        else if (!extraField.empty()) Publish(extraField, missing);
        VCL_PUBLISH_NOTIFY(Button1Click);
        VCL_PUBLISH_NOTIFY(RadioGroup1Click);
        VCL_PUBLISH_NOTIFY(Edit1Change);
        VCL_PUBLISH_KEYPRESS(Edit1KeyPress);
        VCL_PUBLISH_NOTIFY(TrackBar1Change);
        VCL_PUBLISH_UDCLICK(UpDown1Click);
        VCL_PUBLISH_NOTIFY(CheckBox1Click);
        VCL_PUBLISH_NOTIFY(Label1MouseEnter);
        VCL_PUBLISH_NOTIFY(N2Click);
        LoadFromResource("Good");
    }
    void Button1Click(TObject*) { calls.push_back("Button1Click"); }
    void RadioGroup1Click(TObject*) { calls.push_back("RadioGroup1Click"); }
    void Edit1Change(TObject*) { calls.push_back("Edit1Change"); }
    void Edit1KeyPress(TObject* s, char& k) {
        calls.push_back(String(s == Button1 ? "Button1" : "Edit1") + " key " + std::to_string(k));
    }
    void TrackBar1Change(TObject*) { calls.push_back("TrackBar1Change"); }
    void UpDown1Click(TObject*, TUDBtnType b) { calls.push_back(b == btNext ? "UpDown1 next" : "UpDown1 prev"); }
    void CheckBox1Click(TObject*) { calls.push_back("CheckBox1Click"); }
    void Label1MouseEnter(TObject*) { calls.push_back("Label1MouseEnter"); }
    void N2Click(TObject*) { calls.push_back("N2Click"); }

private:
    TButton* wrongClass = nullptr;
    TLabel* missing = nullptr;
};

TEST(FormLoader, BuildsTheDesignedFormAndBindsFieldsAndEvents) {
    TGoodForm form(Application);
    EXPECT_TRUE(form.calls.empty()) << "no event fires while the resource is applied";
    EXPECT_EQ(form.Name(), "GoodForm");
    EXPECT_EQ(form.Caption(), "It's a 'test' form");
    EXPECT_EQ(form.ClientWidth(), 400);
    EXPECT_EQ(form.ClientHeight(), 300);
    EXPECT_EQ(form.Menu(), form.MainMenu1);

    // Parents, owners and geometry.
    ASSERT_NE(form.Button1, nullptr);
    EXPECT_EQ(form.Button1->Owner(), &form);
    EXPECT_EQ(form.Button1->Parent(), form.GroupBox1);
    EXPECT_EQ(form.GroupBox1->Parent(), &form);
    EXPECT_EQ(form.Button1->Left(), 8);
    EXPECT_EQ(form.Button1->Widget()->geometry(), QRect(8, 16, 75, 25));
    EXPECT_EQ(form.Button1->Hint(), "Будет реализовано в следующих версиях");
    EXPECT_EQ(form.Button1->Widget()->toolTip().toStdString(), "Будет реализовано в следующих версиях");
    EXPECT_EQ(form.Label1->Caption(), "Кириллица «ёж»");
    EXPECT_EQ(form.Label1->Parent(), form.TabSheet1);

    // Tab orders from the resource, whatever the order of creation.
    EXPECT_EQ(form.Edit1->TabOrder(), 0);
    EXPECT_EQ(form.GroupBox1->TabOrder(), 1);

    // Values: the ItemIndex given before the items, the position beyond Max.
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), 2);
    EXPECT_EQ(form.ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(form.ComboBox1->Text(), "9600");
    EXPECT_EQ(form.TrackBar1->Max(), 31);
    EXPECT_EQ(form.TrackBar1->Position(), 31);
    // The steps of the bar's keys and the length of the box's list.
    EXPECT_EQ(form.TrackBar1->LineSize(), 2);
    EXPECT_EQ(form.TrackBar1->PageSize(), 5);
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_PageDown, Qt::Key_Right}) QTest::keyClick(form.TrackBar1->Widget(), key);
    EXPECT_EQ(form.TrackBar1->Position(), 7);
    EXPECT_EQ(form.calls, (std::vector<String>(3, "TrackBar1Change")));
    form.calls.clear();
    EXPECT_EQ(form.ComboBox1->DropDownCount(), 2);
    EXPECT_EQ(static_cast<QComboBox*>(form.ComboBox1->Widget())->maxVisibleItems(), 2);
    EXPECT_EQ(form.UpDown1->Min(), 5);
    EXPECT_EQ(form.UpDown1->Position(), 5);
    EXPECT_TRUE(form.CheckBox1->Checked());
    EXPECT_EQ(form.Edit1->Text(), "Hello, world");
    EXPECT_EQ(form.MaskEdit1->Text(), "  ,   ");
    EXPECT_EQ(form.Memo1->Lines().Items(), (std::vector<String>{"line one", "line two"}));
    EXPECT_TRUE(form.Memo1->ReadOnly());
    EXPECT_EQ(form.ListBox1->Items().Count(), 2);
    EXPECT_FALSE(form.ListBox1->Visible());
    EXPECT_EQ(form.PageControl1->PageCount(), 2);
    EXPECT_EQ(form.PageControl1->ActivePage(), form.TabSheet2);
    EXPECT_EQ(static_cast<QTabWidget*>(form.PageControl1->Widget())->tabText(0).toStdString(), "One");
    EXPECT_EQ(form.OpenDialog1->Title, "Open settings file");
    EXPECT_EQ(form.OpenDialog1->InitialDir, ".");
    ASSERT_EQ(form.MainMenu1->Count(), 1);
    EXPECT_EQ(form.N1->Count(), 2);
    EXPECT_EQ(form.N1->Items(1)->Caption(), "-");

    // The menu bar stands above the client area.
    auto* bar = form.Widget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(form.ClientWidget()->geometry().top(), bar->height());
    EXPECT_EQ(form.ClientWidget()->height(), 300);

    // Events are bound by name, each with its own kind of handler.
    form.Button1->Click();
    form.RadioGroup1->SetItemIndex(0);
    form.Edit1->SetText("changed");
    form.Edit1->KeyPress('x');
    char esc = 27;
    form.Button1->OnKeyPress(form.Button1, esc);
    form.TrackBar1->SetPosition(3);
    form.UpDown1->ClickButton(btNext);
    form.CheckBox1->SetChecked(false);
    form.N2->Click();
    EXPECT_EQ(form.calls, (std::vector<String>{"Button1Click", "RadioGroup1Click", "Edit1Change", "Edit1 key 120",
                                               "Edit1Change", "Button1 key 27", "TrackBar1Change", "UpDown1 next",
                                               "CheckBox1Click", "N2Click"}));
}

String LoadError(const std::function<void()>& make) {
    try {
        make();
    } catch (const EResourceError& e) {
        return e.Message;
    }
    return "no error";
}

class TBadForm : public TForm {
public:
    TButton* Button1 = nullptr;
    TBadForm(TComponent* owner, const String& resource) : TForm(owner) {
        VCL_PUBLISH(Button1);
        PublishMethod("Button1Click", TNotifyEvent([](TObject*) {}));
        LoadFromResource(resource);
    }
};

TEST(FormLoader, BadResourcesStopWithFileAndLine) {
    EXPECT_EQ(LoadError([] { TBadForm f(Application, "BadSyntax"); }), "BadSyntax.dfm:5: unterminated string");
    EXPECT_EQ(LoadError([] { TBadForm f(Application, "BadClass"); }), "BadClass.dfm:6: unknown class TGauge");
    EXPECT_EQ(LoadError([] { TBadForm f(Application, "BadProperty"); }),
              "BadProperty.dfm:5: Button1: unknown property Colour");
    EXPECT_EQ(LoadError([] { TBadForm f(Application, "BadHandler"); }),
              "BadHandler.dfm:5: Button1.OnClick: unknown handler Button1Clik");
    EXPECT_EQ(LoadError([] { TBadForm f(Application, "BadEvent"); }),
              "BadEvent.dfm:6: Button1: no event OnKeyPress that takes a handler like Button1Click");
    EXPECT_EQ(LoadError([] { TBadForm f(Application, "BadNesting"); }),
              "BadNesting.dfm:6: 'end' expected for BadForm (begun at line 1)");
    EXPECT_EQ(LoadError([] { TBadForm f(Application, "NoSuchForm"); }), "NoSuchForm.dfm: no such form resource");

    // Published fields without a component of their name and class.
    EXPECT_EQ(LoadError([] { TGoodForm f(Application, "Label9"); }),
              "Good.dfm:1: no component Label9 for the form's field of that name");
    EXPECT_EQ(LoadError([] { TGoodForm f(Application, "wrong class"); }),
              "Good.dfm:55: Edit1 is not of the class of the form's field");
    // Nothing of a refused form is left with the application.
    EXPECT_EQ(Application->ComponentCount(), 0);
}

}  // namespace
