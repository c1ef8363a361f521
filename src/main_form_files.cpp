// Settings files (*.tun) and the File menu, the same in both editions.
//
// A settings file is 809 bytes: a 9-byte header that each edition fills
// its own way, then one 8-byte record per channel row:
//   0 in-use flag (1 / 0; any non-zero value reads as in use)
//   1 receive tone index, 2 transmit tone index, 3 spare (written as 0)
//   4-5 receive channel code, 6-7 transmit channel code, little-endian.
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>

#include "main_form_base.h"
#include "platform/vcl/user_interface.h"
#include "platform/win32/win32.h"
#include "settings_file.h"

namespace {

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

void TMainFormBase::FillChannelRecords(SettingsBuffer& buffer) const {
    for (int i = 0; i < RowCount; ++i) {
        uint8_t* rec = buffer.data() + SettingsHeaderSize + i * SettingsRecordSize;
        rec[0] = FChBx[i]->Checked() ? 1 : 0;
        rec[1] = static_cast<uint8_t>(FCtcssRx[i]);
        rec[2] = static_cast<uint8_t>(FCtcssTx[i]);
        rec[3] = 0;  // spare
        WriteLE16(rec + 4, FTrackRx[i]->Position());
        WriteLE16(rec + 6, FTrackTx[i]->Position());
    }
}

// Every value goes in through the control, so the row's limits and change
// handlers act as for the user: a code outside the current range shows as
// the nearer bound.
void TMainFormBase::ApplyChannelRecords(const SettingsBuffer& buffer) {
    for (int i = 0; i < RowCount; ++i) {
        const uint8_t* rec = buffer.data() + SettingsHeaderSize + i * SettingsRecordSize;
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
}

void TMainFormBase::ShowSettingsError(int text) {
    MessageBoxA(Handle(), Message(text).c_str(), Message(FMsg.warningCaps).c_str(), MB_ICONWARNING);
}

int TMainFormBase::WriteSettingsFile(const SettingsBuffer& buffer) {
    if (WriteWholeFile(FFileName, buffer.data(), SettingsFileSize)) return 0;
    ShowSettingsError(FMsg.fileWriteError);
    return 1;
}

// A file that cannot be read in full changes nothing.
int TMainFormBase::ReadSettingsFile(SettingsBuffer& buffer) {
    if (ReadFileStart(FFileName, buffer.data(), SettingsFileSize)) return 0;
    ShowSettingsError(FMsg.fileReadError);
    return 1;
}

void TMainFormBase::SaveAndLog(int savedText, int failedText) {
    if (SaveSettings() == 0)
        Log(Message(FMsg.fileWithSettings) + " (" + FFileName + ") " + Message(savedText));
    else
        Log(Message(failedText) + " (" + FFileName + ")");
}

// File / Open
void TMainFormBase::N2Click(TObject*) {
    OpenDialog1->FileName = "";
    if (!OpenDialog1->Execute()) return;
    FFileName = CompleteName(FullPath(OpenDialog1->FileName));
    if (!OpensWith(FFileName, GENERIC_READ)) {
        MessageBoxA(Handle(), Message(FMsg.fileOpenError).c_str(),
                    Message(FMsg.warningCaption).c_str(), MB_ICONWARNING);
        return;
    }
    if (LoadSettings() == 0)
        Log(Message(FMsg.fileWithSettings) + " (" + FFileName + ") " + Message(FMsg.loadedOk));
    else
        Log(Message(FMsg.loadFailed) + " (" + FFileName + ")");
}

// File / Save: into the current file after a question, or Save As when
// the current file cannot be opened for writing.
void TMainFormBase::N3Click(TObject* Sender) {
    if (!OpensWith(FFileName, GENERIC_WRITE)) {
        N4Click(Sender);
        return;
    }
    if (MessageBoxA(Handle(), Message(FMsg.rewriteQuestion).c_str(),
                    Message(FMsg.warningCaption).c_str(), MB_ICONWARNING | MB_YESNO) != IDYES)
        return;
    SaveAndLog(FMsg.rewrittenOk, FMsg.rewriteFailed);
}

// File / Save As...
void TMainFormBase::N4Click(TObject*) {
    SaveDialog1->FileName = "";
    if (!SaveDialog1->Execute()) return;
    FFileName = CompleteName(FullPath(SaveDialog1->FileName));
    if (OpensWith(FFileName, GENERIC_WRITE)) {
        if (MessageBoxA(Handle(), Message(FMsg.existsRewrite).c_str(),
                        Message(FMsg.warningCaption).c_str(), MB_ICONWARNING | MB_YESNO) != IDYES)
            return;
        SaveAndLog(FMsg.rewrittenOk, FMsg.rewriteFailed);
        return;
    }
    SaveAndLog(FMsg.createdOk, FMsg.createFailed);
}
