// What the main windows of both editions share: the components both forms
// have, the 100 channel rows and their editing, the ports group and the
// connection, the File menu, the log, and the steps of reading, writing and
// saving channels. Each edition's TForm1 derives from TMainFormBase, adds
// its own components and handlers, answers for its range and for where its
// frequency dialog's texts stand, and names where its message list holds
// the texts used here.
#pragma once

#include <cstring>
#include <type_traits>
#include <vector>

#include "RadioImage.h"
#include "Radio_com.h"
#include "SettingsImage.h"
#include "platform/vcl/vcl.h"

struct FreqInputMessages;

// One row per channel of the radio.
constexpr int RowCount = radio_image::ChannelCount;

// Indexes into an edition's message list of the texts the shared code
// shows.
struct MainFormMessages {
    int hz;
    // Connection
    int disconnect, connected, alreadyOpen, openError, configError, portWriteError,
        deviceError, connection, broken;
    // Reading and Info
    int reading, readDone, readError, readingInfo;
    // Writing channels
    int writingChannels, noConnection, writeError, tailChannels, tailCtcssRx, tailCtcssTx,
        channelsDone;
    // The frequency dialog's caption
    int inputFrequency, ofReceive, ofTransmit, channelNumber;
    // File menu and settings files
    int fileWithSettings, loadedOk, loadFailed, fileOpenError, warningCaption, warningCaps,
        existsRewrite, rewrittenOk, rewriteFailed, createdOk, createFailed, rewriteQuestion,
        fileWriteError, fileReadError;
};

// Every position a message table names. A table holds ints, and structs
// and arrays of ints, and nothing else.
template <typename Table>
std::vector<int> MessagePositions(const Table& table) {
    static_assert(std::has_unique_object_representations_v<Table> && sizeof(Table) % sizeof(int) == 0);
    std::vector<int> positions(sizeof(Table) / sizeof(int));
    std::memcpy(positions.data(), &table, sizeof(Table));
    return positions;
}

using radio_image::MemoryImage;
using settings_image::SettingsFile;

class TMainFormBase : public TForm {
public:
    // Published components both forms have.
    TButton* Button1 = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TButton* Button2 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TMemo* Memo1 = nullptr;
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
    TButton* Button8 = nullptr;
    TPanel* Panel1 = nullptr;
    TListBox* ListBox1 = nullptr;

    // Published handlers both forms have.
    void Button1Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void N6Click(TObject* Sender);
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

    // Settings files: 0 success, 1 failure (the user was told).
    virtual int SaveSettings() = 0;
    virtual int LoadSettings() = 0;

    // The current range's lowest / highest channel code.
    virtual int32_t RangeMinCode() const = 0;
    virtual int32_t RangeMaxCode() const = 0;
    // Where this edition's frequency dialog holds its texts.
    virtual const FreqInputMessages& FreqInputTexts() const = 0;

    // Message N of the hidden message list.
    const String& Message(int index) const;
    // Appends one line to the log.
    void Log(const String& line);

protected:
    // Publishes the shared components; the edition publishes its own, then
    // the handlers, then calls BuildWindow and FillPorts.
    TMainFormBase(TComponent* Owner, const MainFormMessages& messages);
    ~TMainFormBase() override;

    // The shared handlers are published in two runs, so that each edition
    // publishes its own in between and after them, in its class's order:
    // Button1Click, CheckBox1Click and N6Click first; then UpDown1Click to
    // RadioGroup1Click (the rows, the tone chooser, the File and About menu
    // items and the ports group).
    void PublishLeadingHandlers();
    void PublishRowAndMenuHandlers();

    // Loads the edition's form resource "main_form", checks that its
    // message list holds every position of `messagePositions` (else
    // EResourceError names the form and the position), then builds the
    // channel rows.
    void BuildWindow(const std::vector<int>& messagePositions);
    // Scans COM1 to COM6 into the ports group; Connection is enabled when
    // a radio answered.
    void FillPorts();

    // Connection: opens the selected port at the chosen rate, or closes the
    // open one, logging the outcome. True when it has just connected.
    bool ToggleConnection();
    // An edition with an Options page enables its Write button with the
    // other buttons that need the radio.
    virtual void SwitchOptionsWrite(bool /*connected*/) {}

    // Every row's track bars and up-downs bounded by the current range.
    void BoundRows();

    // The radio's memory in a copy of our own (the next exchange overwrites
    // the link's buffer); false when it could not be read.
    static bool ReadRadio(MemoryImage& image);

    // Read: logs the start, reads the radio and logs the outcome; false
    // when it could not be read.
    bool BeginRead(MemoryImage& image);
    // Info: logs the start and reads the radio's range byte; -1 after
    // logging a failed read.
    int ReadRangeByte();

    // Reading: a row shown for an empty channel record, a row's tones, a
    // row ticked as in use.
    void ShowEmptyRow(int row);
    void ShowTones(int row, uint8_t toneRx, uint8_t toneTx);
    void TickRow(int row);

    // Writing channels: logs the start and reads the radio; on a failed
    // read logs the failure and the end and returns false.
    bool BeginChannelWrite(MemoryImage& image);
    // Sends what differs between the rows and the channel records of
    // `image`; codes on the radio count from `offset`.
    void WriteChannelRecords(const MemoryImage& image, int offset);
    void EndChannelWrite();

    // Settings files: the rows go into / come from the channel records.
    void FillChannelRecords(SettingsFile& file) const;
    void ApplyChannelRecords(const SettingsFile& file);
    // The whole file written to / read from FFileName; a failure shows the
    // edition's warning box and returns 1.
    int WriteSettingsFile(const SettingsFile& file);
    int ReadSettingsFile(SettingsFile& file);

    const MainFormMessages& FMsg;

private:
    void CheckMessageList(const std::vector<int>& positions) const;
    void BuildRows();
    void SwitchRadioControls(bool connected);
    void ShowSettingsError(int text);
    // Saves into FFileName and logs the outcome with the given message.
    void SaveAndLog(int savedText, int failedText);
};

// The main window, from the start of its construction; null before.
TMainFormBase* MainWindow();


extern TRadiocomm* Radiocomm;
extern String ToneSuffix;
extern TStringList* ToneList;
extern PortScanList* PortList;
extern bool Connected;
extern const int BaudRates[3];
// Index 0 "Off", 1-50 the standard tones with a decimal comma.
extern const char* const ToneTexts[51];

// The lowest and highest channel code of the four operating ranges.
struct RangeLimits {
    int32_t minCode;
    int32_t maxCode;
};
extern const RangeLimits OperatingRanges[4];

// 33 + 0.025 * code MHz with three decimals and the user's decimal
// separator.
String MHzText(int code);
// The text a tone index shows: the tone and " Hz" for 1-50, else "Off".
String ToneCaption(int index);
