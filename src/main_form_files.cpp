// Settings files (*.tun) and the File menu of the main window.
//
// A settings file is 809 bytes: the eight option track bars and the range,
// then one 8-byte record per channel row:
//   0 in-use flag (1 / 0; any non-zero value reads as in use)
//   1 receive tone index, 2 transmit tone index, 3 spare (written as 0)
//   4-5 receive channel code, 6-7 transmit channel code, little-endian.
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>

#include "main_form.h"
#include "platform/win32/win32.h"
#include "settings_file.h"

namespace {

constexpr DWORD SettingsHeaderSize = 9;
constexpr DWORD SettingsRecordSize = 8;
constexpr DWORD SettingsFileSize = SettingsHeaderSize + RowCount * SettingsRecordSize;  // 809
// Message list indexes used here.
constexpr int MsgFileWithSettings = 45;
constexpr int MsgLoadedOk = 46;
constexpr int MsgLoadFailed = 47;
constexpr int MsgFileOpenError = 48;
constexpr int MsgWarningCaption = 49;
constexpr int MsgWARNINGCaption = 50;
constexpr int MsgExistsRewrite = 52;
constexpr int MsgRewrittenOk = 53;
constexpr int MsgRewriteFailed = 54;
constexpr int MsgCreatedOk = 55;
constexpr int MsgCreateFailed = 56;
constexpr int MsgRewriteQuestion = 57;
constexpr int MsgWriteError = 58;
constexpr int MsgReadError = 59;

// Appends ".tun" unless the name already ends in it, in any letter case.
String CompleteName(const String& name) {
    static const String ext = ".tun";
    if (name.size() >= ext.size()) {
        bool same = true;
        for (size_t i = 0; i < ext.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(name[name.size() - ext.size() + i]);
            if (std::tolower(c) != ext[i]) same = false;
        }
        if (same) return name;
    }
    return name + ext;
}

// The dialogs give full paths; a relative name is taken against the
// current folder so the log always names the file in full.
String FullPath(const String& name) {
    if (name.empty() || name[0] == '/') return name;
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(name, ec);
    return ec ? name : p.string();
}

uint16_t ReadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void WriteLE16(uint8_t* p, int value) {
    p[0] = static_cast<uint8_t>(value & 0xFF);
    p[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

int TForm1::SaveSettings() {
    uint8_t buffer[SettingsFileSize] = {};
    TTrackBar* const options[8] = {TrackBar1, TrackBar2, TrackBar3, TrackBar4,
                                   TrackBar5, TrackBar6, TrackBar7, TrackBar8};
    for (int k = 0; k < 8; ++k) buffer[k] = static_cast<uint8_t>(options[k]->Position());
    buffer[8] = static_cast<uint8_t>(RadioGroup2->ItemIndex());
    for (int i = 0; i < RowCount; ++i) {
        uint8_t* rec = buffer + SettingsHeaderSize + i * SettingsRecordSize;
        rec[0] = FChBx[i]->Checked() ? 1 : 0;
        rec[1] = static_cast<uint8_t>(FCtcssRx[i]);
        rec[2] = static_cast<uint8_t>(FCtcssTx[i]);
        rec[3] = 0;  // spare
        WriteLE16(rec + 4, FTrackRx[i]->Position());
        WriteLE16(rec + 6, FTrackTx[i]->Position());
    }
    if (!WriteWholeFile(FFileName, buffer, SettingsFileSize)) {
        MessageBoxA(Handle(), Message(MsgWriteError).c_str(), Message(MsgWARNINGCaption).c_str(),
                    MB_ICONWARNING);
        return 1;
    }
    return 0;
}

int TForm1::LoadSettings() {
    uint8_t buffer[SettingsFileSize];
    if (!ReadFileStart(FFileName, buffer, SettingsFileSize)) {
        MessageBoxA(Handle(), Message(MsgReadError).c_str(), Message(MsgWARNINGCaption).c_str(),
                    MB_ICONWARNING);
        return 1;
    }
    // Every value goes in through the control, so limits and change
    // handlers act as for the user; the range comes before the rows so the
    // rows are bounded by the file's range.
    TTrackBar* const options[8] = {TrackBar1, TrackBar2, TrackBar3, TrackBar4,
                                   TrackBar5, TrackBar6, TrackBar7, TrackBar8};
    for (int k = 0; k < 8; ++k) options[k]->SetPosition(buffer[k]);
    RadioGroup2->SetItemIndex(buffer[8]);
    for (int i = 0; i < RowCount; ++i) {
        const uint8_t* rec = buffer + SettingsHeaderSize + i * SettingsRecordSize;
        FChBx[i]->SetChecked(rec[0] != 0);
        FTrackRx[i]->SetPosition(ReadLE16(rec + 4));
        FTrackTx[i]->SetPosition(ReadLE16(rec + 6));
        const int rx = (rec[1] >= 1 && rec[1] <= 50) ? rec[1] : 0;
        FCtcssRx[i] = rx;
        FCtcssRxLabel[i]->SetCaption(ToneCaption(rx));
        const int tx = (rec[2] >= 1 && rec[2] <= 50) ? rec[2] : 0;
        FCtcssTx[i] = tx;
        FCtcssTxLabel[i]->SetCaption(ToneCaption(tx));
    }
    return 0;
}

// File / Open
void TForm1::N2Click(TObject*) {
    OpenDialog1->FileName = "";
    if (!OpenDialog1->Execute()) return;
    FFileName = CompleteName(FullPath(OpenDialog1->FileName));
    if (!OpensWith(FFileName, GENERIC_READ)) {
        MessageBoxA(Handle(), Message(MsgFileOpenError).c_str(),
                    Message(MsgWarningCaption).c_str(), MB_ICONWARNING);
        return;
    }
    if (LoadSettings() == 0)
        Log(Message(MsgFileWithSettings) + " (" + FFileName + ") " + Message(MsgLoadedOk));
    else
        Log(Message(MsgLoadFailed) + " (" + FFileName + ")");
}

// File / Save: into the current file after a question, or Save As when
// the current file cannot be opened for writing.
void TForm1::N3Click(TObject* Sender) {
    if (!OpensWith(FFileName, GENERIC_WRITE)) {
        N4Click(Sender);
        return;
    }
    if (MessageBoxA(Handle(), Message(MsgRewriteQuestion).c_str(),
                    Message(MsgWarningCaption).c_str(), MB_ICONWARNING | MB_YESNO) != IDYES)
        return;
    if (SaveSettings() == 0)
        Log(Message(MsgFileWithSettings) + " (" + FFileName + ") " + Message(MsgRewrittenOk));
    else
        Log(Message(MsgRewriteFailed) + " (" + FFileName + ")");
}

// File / Save As...
void TForm1::N4Click(TObject*) {
    SaveDialog1->FileName = "";
    if (!SaveDialog1->Execute()) return;
    FFileName = CompleteName(FullPath(SaveDialog1->FileName));
    if (OpensWith(FFileName, GENERIC_WRITE)) {
        if (MessageBoxA(Handle(), Message(MsgExistsRewrite).c_str(),
                        Message(MsgWarningCaption).c_str(), MB_ICONWARNING | MB_YESNO) != IDYES)
            return;
        if (SaveSettings() == 0)
            Log(Message(MsgFileWithSettings) + " (" + FFileName + ") " + Message(MsgRewrittenOk));
        else
            Log(Message(MsgRewriteFailed) + " (" + FFileName + ")");
        return;
    }
    if (SaveSettings() == 0)
        Log(Message(MsgFileWithSettings) + " (" + FFileName + ") " + Message(MsgCreatedOk));
    else
        Log(Message(MsgCreateFailed) + " (" + FFileName + ")");
}
