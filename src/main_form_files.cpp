// Settings files (*.tun) and the File menu, the same in both editions.
// What the bytes mean is SettingsImage's; here the rows go into and come
// from the channel records.
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

}  // namespace

void TMainFormBase::FillChannelRecords(SettingsFile& file) const {
    for (int i = 0; i < RowCount; ++i)
        file.records[i] = {FChBx[i]->Checked(), static_cast<uint8_t>(FCtcssRx[i]),
                           static_cast<uint8_t>(FCtcssTx[i]), static_cast<uint16_t>(FTrackRx[i]->Position()),
                           static_cast<uint16_t>(FTrackTx[i]->Position())};
}

// Every value goes in through the control, so the row's limits and change
// handlers act as for the user: a code outside the current range shows as
// the nearer bound.
void TMainFormBase::ApplyChannelRecords(const SettingsFile& file) {
    for (int i = 0; i < RowCount; ++i) {
        const settings_image::SettingsRecord& rec = file.records[i];
        FChBx[i]->SetChecked(rec.inUse);
        FTrackRx[i]->SetPosition(rec.rxCode);
        FTrackTx[i]->SetPosition(rec.txCode);
        const int rx = radio_image::ToneIndex(rec.toneRx);
        FCtcssRx[i] = rx;
        FCtcssRxLabel[i]->SetCaption(ToneCaption(rx));
        const int tx = radio_image::ToneIndex(rec.toneTx);
        FCtcssTx[i] = tx;
        FCtcssTxLabel[i]->SetCaption(ToneCaption(tx));
    }
}

void TMainFormBase::ShowSettingsError(int text) {
    MessageBoxA(Handle(), Message(text).c_str(), Message(FMsg.warningCaps).c_str(), MB_ICONWARNING);
}

int TMainFormBase::WriteSettingsFile(const SettingsFile& file) {
    const settings_image::Bytes bytes = settings_image::Encode(file);
    if (WriteWholeFile(FFileName, bytes.data(), bytes.size())) return 0;
    ShowSettingsError(FMsg.fileWriteError);
    return 1;
}

// A file that cannot be read in full changes nothing.
int TMainFormBase::ReadSettingsFile(SettingsFile& file) {
    settings_image::Bytes bytes;
    if (ReadFileStart(FFileName, bytes.data(), bytes.size())) {
        file = settings_image::Decode(bytes);
        return 0;
    }
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
