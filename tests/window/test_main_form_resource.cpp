// The main window's designed layout: the message list's fixed indexes and
// the texts that only the resource holds.
#include "main_window_fixture.h"

namespace {

using MainFormResourceTest = MainWindowTest;

TEST_F(MainFormResourceTest, MessageListAndDesignedTexts) {
    CreateWindows();
    const TStrings& items = Form1->ListBox1->Items();
    ASSERT_EQ(items.Count(), 61);
    EXPECT_FALSE(Form1->ListBox1->Visible());
    EXPECT_EQ(items[0], "Working Range:");
    EXPECT_EQ(items[48], "Error file opening!");
    EXPECT_EQ(items[51], "Error file opening!");
    EXPECT_EQ(items[52], "File already exists. Rewrite?");
    EXPECT_EQ(items[60], "66.000-88.000");

    EXPECT_EQ(Form1->Button6->Hint(),
              "\xD0\x91\xD1\x83\xD0\xB4\xD0\xB5\xD1\x82 "  // Будет
              "\xD1\x80\xD0\xB5\xD0\xB0\xD0\xBB\xD0\xB8\xD0\xB7\xD0\xBE\xD0\xB2\xD0\xB0"
              "\xD0\xBD\xD0\xBE "                           // реализовано
              "\xD0\xB2 "                                   // в
              "\xD1\x81\xD0\xBB\xD0\xB5\xD0\xB4\xD1\x83\xD1\x8E\xD1\x89\xD0\xB8\xD1\x85 "
              "\xD0\xB2\xD0\xB5\xD1\x80\xD1\x81\xD0\xB8\xD1\x8F\xD1\x85");  // следующих версиях
    EXPECT_TRUE(Form1->Button6->ShowHint());

    // The file dialogs as the File menu shows them.
    EXPECT_EQ(Form1->OpenDialog1->Title, "Open settings file");
    EXPECT_EQ(Form1->SaveDialog1->Title, "Save settings file");
    for (TOpenDialog* d : {static_cast<TOpenDialog*>(Form1->OpenDialog1),
                           static_cast<TOpenDialog*>(Form1->SaveDialog1)}) {
        EXPECT_EQ(d->Filter, "Tunes files (*.tun)|*.tun|All files (*.*)|*.*");
        EXPECT_EQ(d->InitialDir, ".");
    }
    EXPECT_TRUE(Form1->SaveDialog1->IsSave());

    // The menu: File (Open, Save, Save As..., a separator, Exit), About.
    TMainMenu* menu = Form1->Menu();
    ASSERT_EQ(menu, Form1->MainMenu1);
    ASSERT_EQ(menu->Count(), 2);
    EXPECT_EQ(menu->Items(0), Form1->N1);
    EXPECT_EQ(menu->Items(1), Form1->N7);
    ASSERT_EQ(Form1->N1->Count(), 5);
    const TMenuItem* file[] = {Form1->N2, Form1->N3, Form1->N4, Form1->N5, Form1->N6};
    const char* captions[] = {"Open", "Save", "Save As...", "-", "Exit"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Form1->N1->Items(i), file[i]);
        EXPECT_EQ(file[i]->Caption(), captions[i]);
    }
    ASSERT_EQ(Form1->N7->Count(), 1);
    EXPECT_EQ(Form1->N7->Items(0), Form1->N8);

    // Where the designed controls sit.
    EXPECT_EQ(Form1->PageControl1->Parent(), Form1->GroupBox1);
    EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1);
    EXPECT_EQ(Form1->ScrollBox1->Parent(), Form1->TabSheet1);
    EXPECT_EQ(Form1->RadioGroup2->Parent(), Form1->TabSheet2);
    EXPECT_EQ(Form1->RadioGroup2->Items().Count(), 4);
    EXPECT_EQ(Form1->TrackBar8->Max(), 255);
    EXPECT_TRUE(Form1->Memo1->ReadOnly());
}

// The form resource binds its events to these by name.
TEST_F(MainFormResourceTest, TheWindowPublishesItsHandlersInItsOrder) {
    CreateWindows();
    EXPECT_EQ(Form1->MethodNames(),
              (std::vector<String>{"Button1Click", "CheckBox1Click", "N6Click", "Button2Click",
                                   "TrackBar1Change", "TrackBar2Change", "TrackBar3Change", "TrackBar4Change",
                                   "TrackBar5Change", "Button3Click", "Button6Click", "UpDown1Click",
                                   "TrackBar_Change", "ctcssOnMouseEnter", "CurrentComboOnChange", "FreqOnClick",
                                   "N8Click", "N2Click", "N4Click", "N3Click", "RadioGroup1Click",
                                   "TrackBar6Change", "TrackBar7Change", "TrackBar8Change", "Button8Click",
                                   "Button7Click", "RadioGroup2Click"}));
    EXPECT_EQ(Form1->MethodAddress("WriteChannels"), nullptr);
    EXPECT_EQ(Form1->MethodAddress("SaveSettings"), nullptr);
}

}  // namespace
