// The About box: title, version and two mail links.
#include "About.h"

#include "platform/vcl/user_interface.h"

TAboutBox* AboutBox = nullptr;

// Each link is the address its label shows, behind "mailto:".
const char* const AuthorMailLink = "mailto:sokolov@example.org";
const char* const CompanyMailLink = "mailto:velitrox@example.org";

TAboutBox::TAboutBox(TComponent* Owner) : TForm(Owner) {
    VCL_PUBLISH(Panel1);
    VCL_PUBLISH(ProgramIcon);
    VCL_PUBLISH(ProductName);
    VCL_PUBLISH(Version);
    VCL_PUBLISH(Label1);
    VCL_PUBLISH(Label2);
    VCL_PUBLISH(Label3);
    VCL_PUBLISH(Label4);
    VCL_PUBLISH(Label5);
    VCL_PUBLISH(Label6);
    VCL_PUBLISH(OKButton);
    VCL_PUBLISH_NOTIFY(OKButtonClick);
    VCL_PUBLISH_NOTIFY(Label3Click);
    VCL_PUBLISH_NOTIFY(Label6Click);
    LoadFromResource("About");
}

void TAboutBox::OKButtonClick(TObject* /*Sender*/) { Close(); }

// The shell's answer does not matter: without a mail program nothing happens.
void TAboutBox::Label3Click(TObject* /*Sender*/) {
    ShellExecuteA(Handle(), "open", AuthorMailLink, nullptr, nullptr, SW_SHOWDEFAULT);
}

void TAboutBox::Label6Click(TObject* /*Sender*/) {
    ShellExecuteA(Handle(), "open", CompanyMailLink, nullptr, nullptr, SW_SHOWDEFAULT);
}
