// The About box: title, version and two mail links.
#pragma once

#include "platform/vcl/vcl.h"

class TAboutBox : public TForm {
public:
    TPanel* Panel1 = nullptr;
    TImage* ProgramIcon = nullptr;
    TLabel* ProductName = nullptr;
    TLabel* Version = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TButton* OKButton = nullptr;

    void OKButtonClick(TObject* Sender);
    void Label3Click(TObject* Sender);
    void Label6Click(TObject* Sender);

    explicit TAboutBox(TComponent* Owner);
};

extern TAboutBox* AboutBox;

// The fixed mail links the two labels open.
extern const char* const AuthorMailLink;
extern const char* const CompanyMailLink;
