// The About box, shown from the main window's menu: its texts, the OK
// button, and the two mail labels that ask the shell to open a mail link.
#include <cstring>

#include "main_window_fixture.h"

namespace {

class AboutBoxTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateWindows();
    }

    // Chooses About / About in the main window's menu with a script for
    // the shown box.
    void ShowFromMenu(std::function<void(TAboutBox&)> script) {
        modal.script.onShowModal = [script](TForm& form) {
            script(dynamic_cast<TAboutBox&>(form));
        };
        Form1->N8->Click();
        modal.script.onShowModal = nullptr;
    }
};

TEST_F(AboutBoxTest, ShowsTitleVersionAuthorAndCompany) {
    bool shown = false;
    ShowFromMenu([&](TAboutBox& box) {
        shown = true;
        EXPECT_EQ(&box, AboutBox);
        EXPECT_EQ(box.Caption(), "About");
        EXPECT_EQ(box.ProductName->Caption(),
                  "The program for adjustment of radio station KORVAL 4M-30");
        EXPECT_EQ(box.Version->Caption(), "Version v1.02 int");
        EXPECT_EQ(box.Label1->Caption().rfind("Author: ", 0), 0u);
        EXPECT_GT(box.Label1->Caption().size(), std::strlen("Author: "));
        EXPECT_EQ(box.Label2->Caption(), "e-mail:");
        EXPECT_EQ(box.Label5->Caption(), "e-mail:");
        EXPECT_EQ(box.Label4->Caption().rfind("Developed for OOO \"Velitrox\", ", 0), 0u);
        // Each mail label shows the address its fixed link opens.
        EXPECT_EQ(String("mailto:") + box.Label3->Caption(), AuthorMailLink);
        EXPECT_EQ(String("mailto:") + box.Label6->Caption(), CompanyMailLink);
        EXPECT_NE(String(AuthorMailLink), String(CompanyMailLink));
        EXPECT_TRUE(box.OKButton->Default());
        EXPECT_EQ(box.OKButton->ModalResult, static_cast<int>(mrOk));
        box.OKButton->Click();
        EXPECT_TRUE(box.ModalDone());
        EXPECT_EQ(box.ModalResult(), static_cast<int>(mrOk));
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(modal.script.Count("form"), 1);
    EXPECT_FALSE(AboutBox->Showing());
}

TEST_F(AboutBoxTest, MailLabelsAskTheShellToOpenTheirLinkAndLeaveTheBoxOpen) {
    ShowFromMenu([&](TAboutBox& box) {
        box.Label3->Click();
        EXPECT_FALSE(box.ModalDone());
        const auto* author = modal.script.Last("shell");
        ASSERT_NE(author, nullptr);
        EXPECT_EQ(author->text, AuthorMailLink);
        EXPECT_EQ(author->caption, "open");
        EXPECT_EQ(author->owner, &box);

        box.Label6->Click();
        EXPECT_FALSE(box.ModalDone());
        const auto* company = modal.script.Last("shell");
        EXPECT_EQ(company->text, CompanyMailLink);
        EXPECT_EQ(company->caption, "open");
        box.OKButton->Click();
    });
    EXPECT_EQ(modal.script.Count("shell"), 2);
    // The box can be shown again after it was closed.
    ShowFromMenu([](TAboutBox& box) { box.OKButton->Click(); });
    EXPECT_EQ(modal.script.Count("form"), 2);
    EXPECT_EQ(modal.script.Count("message"), 0);
}

}  // namespace
