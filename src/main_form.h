// The main window of the full edition.
#pragma once

#include "Radio_com.h"
#include "main_form_base.h"
#include "platform/vcl/vcl.h"

constexpr int RowCount = 100;

class TForm1 : public TForm {
public:
    // Published components, in declaration order.
    TButton* Button1 = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TButton* Button2 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TMemo* Memo1 = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TTrackBar* TrackBar2 = nullptr;
    TTrackBar* TrackBar3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TTrackBar* TrackBar4 = nullptr;
    TLabel* Label8 = nullptr;
    TTrackBar* TrackBar5 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label11 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label13 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* N3 = nullptr;
    TMenuItem* N4 = nullptr;
    TMenuItem* N5 = nullptr;
    TMenuItem* N6 = nullptr;
    TMenuItem* N7 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button6 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TLabel* Label14 = nullptr;
    TLabel* Label15 = nullptr;
    TLabel* Label16 = nullptr;
    TMenuItem* N8 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TTrackBar* TrackBar6 = nullptr;
    TLabel* Label17 = nullptr;
    TLabel* Label18 = nullptr;
    TTrackBar* TrackBar7 = nullptr;
    TLabel* Label19 = nullptr;
    TLabel* Label20 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TRadioGroup* RadioGroup2 = nullptr;
    TButton* Button7 = nullptr;
    TButton* Button8 = nullptr;
    TTrackBar* TrackBar8 = nullptr;
    TLabel* Label21 = nullptr;
    TLabel* Label22 = nullptr;
    TPanel* Panel1 = nullptr;
    TListBox* ListBox1 = nullptr;

    // Published methods, in order.
    void Button1Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void N6Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void TrackBar1Change(TObject* Sender);
    void TrackBar2Change(TObject* Sender);
    void TrackBar3Change(TObject* Sender);
    void TrackBar4Change(TObject* Sender);
    void TrackBar5Change(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void UpDown1Click(TObject* Sender, TUDBtnType Button);
    void TrackBar_Change(TObject* Sender);
    void ctcssOnMouseEnter(TObject* Sender);
    void CurrentComboOnChange(TObject* Sender);
    void FreqOnClick(TObject* Sender);
    void N8Click(TObject* Sender);
    void N2Click(TObject* Sender);
    void N4Click(TObject* Sender);
    void N3Click(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void TrackBar6Change(TObject* Sender);
    void TrackBar7Change(TObject* Sender);
    void TrackBar8Change(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void RadioGroup2Click(TObject* Sender);

    // The channel rows, built by the constructor.
    TLabel* FRowLabel[RowCount] = {};
    TCheckBox* FChBx[RowCount] = {};
    TEdit* FEd1[RowCount] = {};
    TEdit* FEd2[RowCount] = {};
    TLabel* FCtcssRxLabel[RowCount] = {};
    TLabel* FCtcssTxLabel[RowCount] = {};
    int32_t FCtcssRx[RowCount] = {};
    int32_t FCtcssTx[RowCount] = {};
    TTrackBar* FTrackRx[RowCount] = {};
    TTrackBar* FTrackTx[RowCount] = {};
    TUpDown* FUdRx[RowCount] = {};
    TUpDown* FUdTx[RowCount] = {};
    TComboBox* CurrentCombo = nullptr;
    uint8_t FCtcssIsTx = 0;
    int32_t FCtcssRow = 0;
    TBevel* FSeparator[RowCount] = {};
    String FFileName;

    explicit TForm1(TComponent* Owner);
    ~TForm1() override;

    void WriteChannels();
    void WriteOptions();
    int SaveSettings();
    int LoadSettings();

    // Message N of the hidden message list.
    const String& Message(int index) const;
    // Appends one line to the log.
    void Log(const String& line);

private:
    void BuildRows();
    void FillPorts();
};

extern TForm1* Form1;
extern TRadiocomm* Radiocomm;
extern String ToneSuffix;
extern TStringList* ToneList;
extern PortScanList* PortList;
extern bool Connected;
extern const int BaudRates[3];
// Index 0 "Off", 1-50 the standard tones with a decimal comma.
extern const char* const ToneTexts[51];

// The selected range's lowest / highest channel code, -1 for no range.
int32_t RangeMinCode();
int32_t RangeMaxCode();
// Panel1 shows the selected working range.
void ShowRange();

// 33 + 0.025 * code MHz with three decimals and the user's decimal
// separator.
String MHzText(int code);
// The text a tone index shows: the tone and " Hz" for 1-50, else "Off".
String ToneCaption(int index);
