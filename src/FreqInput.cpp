// The frequency entry dialog: one receive or transmit frequency of one
// channel row, typed in MHz as "33,025", checked against the operating
// range and the 25 kHz step, and put into the row's track bar.
#include "FreqInput.h"

#include <cstdio>
#include <locale.h>

#include "main_form_base.h"
#include "platform/vcl/user_interface.h"

TFormFreqInput* FormFreqInput = nullptr;

namespace {

constexpr int LowestKHz = 33000;  // channel code 0
constexpr int StepKHz = 25;

// Runs printf-style formatting with a full stop as the decimal point,
// whatever the user's locale says.
class CNumericLocale {
public:
    CNumericLocale() : FC(newlocale(LC_NUMERIC_MASK, "C", nullptr)) {
        if (FC) FPrevious = uselocale(FC);
    }
    ~CNumericLocale() {
        if (FC) {
            uselocale(FPrevious);
            freelocale(FC);
        }
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    locale_t FC;
    locale_t FPrevious = nullptr;
};

// "Frequency must be more 33 MHz": the bound in MHz printed by "%g".
String BoundText(const String& mustBe, const String& moreOrLess, float mhz, const String& unit) {
    CNumericLocale c;
    char buf[256];
    std::snprintf(buf, sizeof buf, "%s %s %g %s", mustBe.c_str(), moreOrLess.c_str(),
                  static_cast<double>(mhz), unit.c_str());
    return buf;
}

// The typed text "33,025" without its comma, as kHz; false unless the
// text holds exactly five digits around the comma.
bool TypedKHz(const String& text, int& kHz) {
    if (text.size() != 6 || text[2] != ',') return false;
    String digits = text.substr(0, 2) + text.substr(3);
    kHz = 0;
    for (char ch : digits) {
        if (ch < '0' || ch > '9') return false;
        kHz = kHz * 10 + (ch - '0');
    }
    return true;
}

}  // namespace

TFormFreqInput::TFormFreqInput(TComponent* Owner) : TForm(Owner) {
    VCL_PUBLISH(Label1);
    VCL_PUBLISH(ListBox1);
    VCL_PUBLISH(MaskEdit1);
    VCL_PUBLISH(Button1);
    VCL_PUBLISH_NOTIFY(MaskEdit1Change);
    VCL_PUBLISH_NOTIFY(Button1Click);
    VCL_PUBLISH_KEYPRESS(MaskEdit1KeyPress);
    LoadFromResource("FreqInput");
}

// OK can be pressed only when every digit place is filled.
void TFormFreqInput::MaskEdit1Change(TObject* /*Sender*/) {
    if (MaskEdit1->Text().find(' ') != String::npos) {
        Button1->SetEnabled(false);
    } else {
        Button1->SetEnabled(true);
        Button1->SetFocus();
    }
}

// Esc, in the edit or on the OK button, closes without a change.
void TFormFreqInput::MaskEdit1KeyPress(TObject* /*Sender*/, char& Key) {
    if (Key == 27) Close();
}

void TFormFreqInput::Button1Click(TObject* /*Sender*/) {
    // The dialog is shown only from a row of the main window.
    TMainFormBase* main = MainWindow();
    if (!main) return;
    const TStrings& msg = ListBox1->Items();
    auto text = [&msg](int index) { return index < msg.Count() ? msg[index] : String(); };
    const FreqInputMessages& m = main->FreqInputTexts();

    const int lo = main->RangeMinCode() * StepKHz + LowestKHz;
    const int hi = main->RangeMaxCode() * StepKHz + LowestKHz;
    const float loMHz = static_cast<float>(lo) * 0.001f;
    const float hiMHz = static_cast<float>(hi) * 0.001f;

    int c = 0;
    if (!TypedKHz(MaskEdit1->Text(), c)) return;  // a place still empty

    String refusal;
    if (c < lo) {
        refusal = BoundText(text(m.mustBe), text(m.more), loMHz, text(m.mhz));
    } else if (c > hi) {
        refusal = BoundText(text(m.mustBe), text(m.less), hiMHz, text(m.mhz));
    } else if ((c - LowestKHz) % StepKHz != 0) {
        refusal = text(m.mustBe) + " " + text(m.step);
    }
    if (!refusal.empty()) {
        const String caption = text(m.error);
        MessageBoxA(Handle(), refusal.c_str(), caption.c_str(), MB_ICONWARNING);
        return;
    }

    if (FChannel < 0 || FChannel >= RowCount) return;
    TTrackBar* track = FDirection == 1 ? main->FTrackRx[FChannel] : main->FTrackTx[FChannel];
    if (!track) return;
    track->SetPosition((c - LowestKHz) / StepKHz);
    Close();
}
