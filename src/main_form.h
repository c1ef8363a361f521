// The main window of the full edition: the shared channel window with the
// Options page and the range chosen by the user.
#pragma once

#include <array>

#include "main_form_base.h"

// One of the eight option track bars: the byte of the radio's memory that
// holds its value, and the message shown when writing that byte fails.
struct OptionTrackBar {
    TTrackBar* bar;
    int imageByte;
    int writeError;
};

class TForm1 : public TMainFormBase {
public:
    // Published components of this edition besides the shared ones.
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
    TTrackBar* TrackBar8 = nullptr;
    TLabel* Label21 = nullptr;
    TLabel* Label22 = nullptr;

    // Published handlers of this edition.
    void Button2Click(TObject* Sender);
    void TrackBar1Change(TObject* Sender);
    void TrackBar2Change(TObject* Sender);
    void TrackBar3Change(TObject* Sender);
    void TrackBar4Change(TObject* Sender);
    void TrackBar5Change(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void TrackBar6Change(TObject* Sender);
    void TrackBar7Change(TObject* Sender);
    void TrackBar8Change(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void RadioGroup2Click(TObject* Sender);

    explicit TForm1(TComponent* Owner);
    ~TForm1() override;

    void WriteChannels();
    void WriteOptions();
    int SaveSettings() override;
    int LoadSettings() override;
    int32_t RangeMinCode() const override;
    int32_t RangeMaxCode() const override;
    const FreqInputMessages& FreqInputTexts() const override;

    // The range selected in the range group, or -1.
    int SelectedRange() const;
    // TrackBar1 to TrackBar8, the order of a settings file's header.
    std::array<OptionTrackBar, settings_image::OptionCount> OptionTrackBars() const;

protected:
    void SwitchOptionsWrite(bool connected) override;
};

extern TForm1* Form1;

// Makes this edition's main window the application's main form.
void CreateMainForm();

// Panel1 shows the selected working range.
void ShowRange();
// "Working Range: 33.000-39.975 MHz" for range 0 to 3.
String WorkingRangeText(int range);
