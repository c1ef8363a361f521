// Fuzz target: an edition's main window reading a settings file. Each input
// is written to a real file and read by LoadSettings into one offscreen
// window made once. A file too short to be a settings file is refused with
// a message and changes nothing in the window; any other is taken, and
// leaves every row within its controls' limits, showing what it holds.
//
// Built once per edition against that edition's main_form.h; the checks use
// the channel rows both editions have. CHANTUNE_FUZZ_OPTIONS_PAGE adds the
// full edition's option track bars and range.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

#include "fuzz_check.h"
#include "main_form.h"
#include "platform/win32/com_ports.h"
#include "support/scripted_modal.h"

namespace {

constexpr size_t SettingsFileBytes = 809;
constexpr int RowsShown = static_cast<int>(std::extent_v<decltype(TForm1::FChBx)>);

vcl::ScopedModalScript* g_modal = nullptr;
String g_file;

struct RowState {
    bool checked;
    int trackRx, trackTx, upDownRx, upDownTx;
    String mhzRx, mhzTx;
    int toneRx, toneTx;
    String toneRxText, toneTxText;
    bool operator==(const RowState&) const = default;
};

struct WindowState {
    std::vector<RowState> rows;
#ifdef CHANTUNE_FUZZ_OPTIONS_PAGE
    std::array<int, 8> options;
    int range;
#endif
    bool operator==(const WindowState&) const = default;
};

#ifdef CHANTUNE_FUZZ_OPTIONS_PAGE
std::array<TTrackBar*, 8> OptionBars() {
    return {Form1->TrackBar1, Form1->TrackBar2, Form1->TrackBar3, Form1->TrackBar4,
            Form1->TrackBar5, Form1->TrackBar6, Form1->TrackBar7, Form1->TrackBar8};
}
#endif

WindowState Snapshot() {
    const TForm1& f = *Form1;
    WindowState s;
    for (int i = 0; i < RowsShown; ++i)
        s.rows.push_back({f.FChBx[i]->Checked(), f.FTrackRx[i]->Position(),
                          f.FTrackTx[i]->Position(), f.FUdRx[i]->Position(),
                          f.FUdTx[i]->Position(), f.FEd1[i]->Text(), f.FEd2[i]->Text(),
                          f.FCtcssRx[i], f.FCtcssTx[i], f.FCtcssRxLabel[i]->Caption(),
                          f.FCtcssTxLabel[i]->Caption()});
#ifdef CHANTUNE_FUZZ_OPTIONS_PAGE
    const auto bars = OptionBars();
    for (size_t k = 0; k < bars.size(); ++k) s.options[k] = bars[k]->Position();
    s.range = f.RadioGroup2->ItemIndex();
#endif
    return s;
}

template <typename Control>
bool WithinLimits(const Control* c) {
    return c->Position() >= c->Min() && c->Position() <= c->Max();
}

// One side of a row: the track bar within its limits, the up-down and the
// MHz text following it, the tone an index of the tone list with its text.
void CheckSide(const TTrackBar* track, const TUpDown* upDown, const TEdit* mhz, int tone,
               const TLabel* toneLabel) {
    FUZZ_CHECK(WithinLimits(track));
    FUZZ_CHECK(WithinLimits(upDown));
    FUZZ_CHECK(upDown->Position() == track->Position());
    FUZZ_CHECK(mhz->Text() == MHzText(track->Position()));
    FUZZ_CHECK(tone >= 0 && tone <= 50);
    FUZZ_CHECK(toneLabel->Caption() == ToneList->Strings(tone));
}

void CheckTaken() {
    const TForm1& f = *Form1;
    for (int i = 0; i < RowsShown; ++i) {
        CheckSide(f.FTrackRx[i], f.FUdRx[i], f.FEd1[i], f.FCtcssRx[i], f.FCtcssRxLabel[i]);
        CheckSide(f.FTrackTx[i], f.FUdTx[i], f.FEd2[i], f.FCtcssTx[i], f.FCtcssTxLabel[i]);
    }
#ifdef CHANTUNE_FUZZ_OPTIONS_PAGE
    for (const TTrackBar* bar : OptionBars()) FUZZ_CHECK(WithinLimits(bar));
    FUZZ_CHECK(f.RadioGroup2->ItemIndex() >= 0 && f.RadioGroup2->ItemIndex() <= 3);
#endif
}

void WriteInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(g_file.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
}

}  // namespace

// The window, made once, in a scratch folder of the process's own: no
// serial devices, no ports folder of the user's.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string scratch = (std::filesystem::temp_directory_path() / "chantune-fuzz-XXXXXX").string();
    FUZZ_CHECK(mkdtemp(scratch.data()) != nullptr);
    static const std::string root = scratch;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    });
    for (const char* sub : {"/config", "/nodev", "/nosys"})
        std::filesystem::create_directories(root + sub);
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    com_ports::SetDeviceRoots(root + "/nodev", root + "/nosys");
    g_file = root + "/input.tun";

    Application->Initialize();
    g_modal = new vcl::ScopedModalScript();
    Application->CreateForm(Form1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput(data, size);
    Form1->FFileName = g_file;
    g_modal->script.shown.clear();

    if (size < SettingsFileBytes) {
        const WindowState before = Snapshot();
        FUZZ_CHECK(Form1->LoadSettings() == 1);
        FUZZ_CHECK(g_modal->script.Count("message") == 1);
        FUZZ_CHECK(Snapshot() == before);
    } else {
        FUZZ_CHECK(Form1->LoadSettings() == 0);
        FUZZ_CHECK(g_modal->script.shown.empty());
        CheckTaken();
    }
    return 0;
}
