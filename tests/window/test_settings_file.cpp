// Settings files: the 809-byte layout, reading back through the controls,
// and files that must be refused without touching the window or the disk.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/vcl/user_interface.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr size_t FileSize = 809;
size_t Rec(int row) { return 9 + 8 * static_cast<size_t>(row); }

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// A file image of the given range with every row in use at the range's
// lowest code and both tones off.
Bytes Image(uint8_t range, int lowCode) {
    Bytes b(FileSize, 0);
    b[8] = range;
    for (int i = 0; i < RowCount; ++i) {
        b[Rec(i)] = 1;
        b[Rec(i) + 4] = static_cast<uint8_t>(lowCode & 0xFF);
        b[Rec(i) + 5] = static_cast<uint8_t>(lowCode >> 8);
        b[Rec(i) + 6] = b[Rec(i) + 4];
        b[Rec(i) + 7] = b[Rec(i) + 5];
    }
    return b;
}

void SetCode(Bytes& b, int row, int rx, int tx) {
    b[Rec(row) + 4] = static_cast<uint8_t>(rx & 0xFF);
    b[Rec(row) + 5] = static_cast<uint8_t>(rx >> 8);
    b[Rec(row) + 6] = static_cast<uint8_t>(tx & 0xFF);
    b[Rec(row) + 7] = static_cast<uint8_t>(tx >> 8);
}

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

class SettingsFileTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateWindows();
        dir = test_env::MakeTempDir("settings");
    }

    TTrackBar* Option(int k) const {
        TTrackBar* const bars[8] = {Form1->TrackBar1, Form1->TrackBar2, Form1->TrackBar3,
                                    Form1->TrackBar4, Form1->TrackBar5, Form1->TrackBar6,
                                    Form1->TrackBar7, Form1->TrackBar8};
        return bars[k];
    }

    // Everything a settings file reaches, as the window shows it.
    std::vector<std::string> Snapshot() const {
        std::vector<std::string> s;
        const TLabel* const values[8] = {Form1->Label9,  Form1->Label10, Form1->Label11,
                                         Form1->Label12, Form1->Label13, Form1->Label19,
                                         Form1->Label20, Form1->Label22};
        for (int k = 0; k < 8; ++k)
            s.push_back("option" + std::to_string(k) + " " + std::to_string(Option(k)->Position()) +
                        " " + values[k]->Caption());
        s.push_back("range " + std::to_string(Form1->RadioGroup2->ItemIndex()) + " " +
                    Form1->Panel1->Caption());
        for (int i = 0; i < RowCount; ++i) {
            s.push_back("row" + std::to_string(i) + " " + (Form1->FChBx[i]->Checked() ? "on " : "off ") +
                        (Form1->FEd1[i]->Enabled() ? "enabled " : "disabled ") +
                        std::to_string(Form1->FTrackRx[i]->Position()) + "/" +
                        std::to_string(Form1->FUdRx[i]->Position()) + "/" + Form1->FEd1[i]->Text() +
                        " " + std::to_string(Form1->FTrackTx[i]->Position()) + "/" +
                        std::to_string(Form1->FUdTx[i]->Position()) + "/" + Form1->FEd2[i]->Text() +
                        " " + std::to_string(Form1->FCtcssRx[i]) + "/" +
                        Form1->FCtcssRxLabel[i]->Caption() + " " +
                        std::to_string(Form1->FCtcssTx[i]) + "/" + Form1->FCtcssTxLabel[i]->Caption());
        }
        return s;
    }

    int Save(const std::string& name) {
        Form1->FFileName = name;
        return Form1->SaveSettings();
    }
    int Load(const std::string& name) {
        Form1->FFileName = name;
        return Form1->LoadSettings();
    }

    // The last box shown was the given failure box, and it was the only
    // new one since `before` boxes.
    void ExpectFailureBox(int before, const std::string& text) {
        EXPECT_EQ(modal.script.Count("message"), before + 1) << text;
        const auto* box = modal.script.Last("message");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text, text);
        EXPECT_EQ(box->caption, "WARNING!");
        EXPECT_EQ(box->flags, static_cast<unsigned>(MB_ICONWARNING));
        EXPECT_EQ(box->owner, Form1);
    }

    std::string dir;
};

TEST_F(SettingsFileTest, WritesTheDocumentedBytes) {
    Form1->RadioGroup2->SetItemIndex(1);
    const int options[8] = {31, 17, 1, 30, 16, 9, 5, 255};
    for (int k = 0; k < 8; ++k) Option(k)->SetPosition(options[k]);
    // Row 0: 40000 / 40025 kHz, receive tone 1, transmit off.
    Form1->FTrackRx[0]->SetPosition(280);
    Form1->FTrackTx[0]->SetPosition(281);
    Form1->FCtcssRx[0] = 1;
    Form1->FCtcssTx[0] = 0;
    // Row 1 not in use still carries its values.
    Form1->FChBx[1]->SetChecked(false);
    Form1->FTrackRx[1]->SetPosition(620);
    Form1->FCtcssTx[1] = 50;

    const std::string path = dir + "/range1.tun";
    ASSERT_EQ(Save(path), 0);
    Bytes b = ReadBytes(path);
    ASSERT_EQ(b.size(), FileSize);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 9), (Bytes{31, 17, 1, 30, 16, 9, 5, 255, 1}));
    EXPECT_EQ(Bytes(b.begin() + Rec(0), b.begin() + Rec(1)),
              (Bytes{0x01, 0x01, 0x00, 0x00, 0x18, 0x01, 0x19, 0x01}));
    EXPECT_EQ(b[Rec(1)], 0);
    EXPECT_EQ(b[Rec(1) + 2], 50);
    EXPECT_EQ(b[Rec(1) + 4], 0x6C);  // 620
    EXPECT_EQ(b[Rec(1) + 5], 0x02);
    for (int i = 0; i < RowCount; ++i) EXPECT_EQ(b[Rec(i) + 3], 0) << "spare byte of row " << i;
    EXPECT_EQ(modal.script.Count("message"), 0);

    // Range 3 keeps absolute codes: 66000 kHz is 1320 (28 05), 88000 kHz 2200 (98 08).
    Form1->RadioGroup2->SetItemIndex(3);
    Form1->FTrackRx[2]->SetPosition(1320);
    Form1->FTrackTx[2]->SetPosition(2200);
    ASSERT_EQ(Save(path), 0);
    b = ReadBytes(path);
    ASSERT_EQ(b.size(), FileSize);
    EXPECT_EQ(b[8], 3);
    EXPECT_EQ(Bytes(b.begin() + Rec(2) + 4, b.begin() + Rec(3)), (Bytes{0x28, 0x05, 0x98, 0x08}));
}

TEST_F(SettingsFileTest, RoundTripRestoresEveryValue) {
    const int options[8] = {3, 31, 16, 1, 30, 7, 2, 200};
    for (int k = 0; k < 8; ++k) Option(k)->SetPosition(options[k]);
    Form1->RadioGroup2->SetItemIndex(3);
    for (int i = 0; i < RowCount; ++i) {
        Form1->FTrackRx[i]->SetPosition(1320 + 8 * i);
        Form1->FTrackTx[i]->SetPosition(2200 - 7 * i);
        Form1->FCtcssRx[i] = i % 51;
        Form1->FCtcssRxLabel[i]->SetCaption(ToneCaption(i % 51));
        Form1->FCtcssTx[i] = (i * 7) % 51;
        Form1->FCtcssTxLabel[i]->SetCaption(ToneCaption((i * 7) % 51));
        Form1->FChBx[i]->SetChecked(i % 3 != 0);
    }
    const auto saved = Snapshot();
    const std::string path = dir + "/all.tun";
    ASSERT_EQ(Save(path), 0);

    // Put the window somewhere else entirely, then read the file back.
    for (int k = 0; k < 8; ++k) Option(k)->SetPosition(0);
    Form1->RadioGroup2->SetItemIndex(0);
    for (int i = 0; i < RowCount; ++i) {
        Form1->FChBx[i]->SetChecked(i % 3 == 0);
        Form1->FCtcssRx[i] = Form1->FCtcssTx[i] = 0;
        Form1->FCtcssRxLabel[i]->SetCaption("Off");
        Form1->FCtcssTxLabel[i]->SetCaption("Off");
    }
    ASSERT_NE(Snapshot(), saved);
    ASSERT_EQ(Load(path), 0);
    EXPECT_EQ(Snapshot(), saved);
    EXPECT_EQ(Form1->FCtcssRxLabel[50]->Caption(), "254,1" + ToneSuffix);
    EXPECT_EQ(modal.script.Count("message"), 0);

    // Saving what was loaded gives the same bytes again.
    const std::string again = dir + "/again.tun";
    ASSERT_EQ(Save(again), 0);
    EXPECT_EQ(ReadBytes(again), ReadBytes(path));
}

TEST_F(SettingsFileTest, ValuesAreBroughtWithinTheControlsLimits) {
    const std::string path = dir + "/odd.tun";
    // Any range byte from 4 up selects the last range.
    for (int range : {4, 5, 100, 255}) {
        Form1->RadioGroup2->SetItemIndex(0);
        WriteBytes(path, Image(static_cast<uint8_t>(range), 1320));
        ASSERT_EQ(Load(path), 0) << range;
        EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), 3) << range;
        EXPECT_EQ(Form1->FTrackRx[99]->Position(), 1320) << range;
    }

    Form1->RadioGroup2->SetItemIndex(1);
    Bytes b = Image(0, 0);
    b[0] = 40;  // above Level Deviation's 31
    b[5] = 12;  // above Volume's 9
    b[6] = 5;
    SetCode(b, 0, 500, 279);  // 500 lies beyond range 0's top (279)
    b[Rec(1)] = 2;
    b[Rec(2)] = 0xFF;
    b[Rec(3)] = 0;
    b[Rec(4) + 1] = 51;
    b[Rec(4) + 2] = 255;
    b[Rec(5) + 1] = 50;
    b[Rec(5) + 2] = 1;
    WriteBytes(path, b);
    ASSERT_EQ(Load(path), 0);
    EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), 0);
    EXPECT_EQ(Form1->TrackBar1->Position(), 31);
    EXPECT_EQ(Form1->TrackBar6->Position(), 9);
    EXPECT_EQ(Form1->Label19->Caption(), "9");
    EXPECT_EQ(Form1->TrackBar7->Position(), 5);
    EXPECT_EQ(Form1->FTrackRx[0]->Position(), 279);
    EXPECT_EQ(Form1->FEd1[0]->Text(), MHzText(279));
    EXPECT_EQ(Form1->FUdRx[0]->Position(), 279);
    EXPECT_TRUE(Form1->FChBx[1]->Checked());
    EXPECT_TRUE(Form1->FChBx[2]->Checked());
    EXPECT_FALSE(Form1->FChBx[3]->Checked());
    EXPECT_FALSE(Form1->FEd1[3]->Enabled());
    EXPECT_EQ(Form1->FCtcssRx[4], 0);
    EXPECT_EQ(Form1->FCtcssRxLabel[4]->Caption(), "Off");
    EXPECT_EQ(Form1->FCtcssTx[4], 0);
    EXPECT_EQ(Form1->FCtcssTxLabel[4]->Caption(), "Off");
    EXPECT_EQ(Form1->FCtcssRx[5], 50);
    EXPECT_EQ(Form1->FCtcssRxLabel[5]->Caption(), "254,1" + ToneSuffix);
    EXPECT_EQ(Form1->FCtcssTx[5], 1);
    EXPECT_EQ(Form1->FCtcssTxLabel[5]->Caption(), "67,0" + ToneSuffix);
}

TEST_F(SettingsFileTest, LoadingWhatTheWindowShowsRunsNoHandler) {
    const std::string path = dir + "/same.tun";
    Form1->TrackBar6->SetPosition(4);
    Form1->FTrackRx[5]->SetPosition(17);
    Form1->FChBx[3]->SetChecked(false);
    ASSERT_EQ(Save(path), 0);

    int calls = 0;
    auto count = [&calls](TNotifyEvent& event) {
        event = [&calls, inner = event](TObject* sender) {
            ++calls;
            if (inner) inner(sender);
        };
    };
    for (int k = 0; k < 8; ++k) count(Option(k)->OnChange);
    count(Form1->RadioGroup2->OnClick);
    for (int i = 0; i < RowCount; ++i) {
        count(Form1->FChBx[i]->OnClick);
        count(Form1->FTrackRx[i]->OnChange);
        count(Form1->FTrackTx[i]->OnChange);
    }
    ASSERT_EQ(Load(path), 0);
    EXPECT_EQ(calls, 0);

    // One changed byte runs exactly the handler of its control.
    Bytes b = ReadBytes(path);
    b[Rec(5) + 4] = 18;
    WriteBytes(path, b);
    ASSERT_EQ(Load(path), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Form1->FEd1[5]->Text(), MHzText(18));
}

TEST_F(SettingsFileTest, BadFilesAreRefusedAndChangeNothing) {
    Bytes good = Image(1, 300);
    good[5] = 7;
    const auto before = Snapshot();
    int boxes = 0;

    // Too short: refused, and not half applied.
    for (size_t size : {size_t{0}, size_t{9}, FileSize - 1}) {
        const std::string path = dir + "/short" + std::to_string(size) + ".tun";
        WriteBytes(path, Bytes(good.begin(), good.begin() + static_cast<long>(size)));
        EXPECT_EQ(Load(path), 1) << size;
        ExpectFailureBox(boxes++, "Error reading file!");
        EXPECT_EQ(Snapshot(), before) << size;
    }

    // Not a plain file, or not there: refused at once.
    const std::string fifo = dir + "/pipe.tun";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(dir + "/folder.tun");
    fs::create_symlink("/dev/null", dir + "/null.tun");
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : {fifo, dir + "/folder.tun", std::string("/dev/null"),
                                    dir + "/null.tun", dir + "/missing.tun", std::string()}) {
        EXPECT_EQ(Load(path), 1) << path;
        ExpectFailureBox(boxes++, "Error reading file!");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(Snapshot(), before);

    // A name over 255 characters is refused even though the file exists.
    const std::string longName = dir + "/" + std::string(255 - dir.size() - 1 - 4, 'n') + "x.tun";
    ASSERT_EQ(longName.size(), 256u);
    WriteBytes(longName, good);
    EXPECT_EQ(Load(longName), 1);
    ExpectFailureBox(boxes++, "Error reading file!");
    EXPECT_EQ(Snapshot(), before);

    // Longer than a settings file: its first 809 bytes are the settings.
    Bytes longer = good;
    longer.resize(FileSize + 100, 0xEE);
    const std::string longerPath = dir + "/longer.tun";
    WriteBytes(longerPath, longer);
    EXPECT_EQ(Load(longerPath), 0);
    EXPECT_EQ(modal.script.Count("message"), boxes);
    EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), 1);
    EXPECT_EQ(Form1->TrackBar6->Position(), 7);
    EXPECT_EQ(Form1->FTrackTx[99]->Position(), 300);
}

TEST_F(SettingsFileTest, FailedSavesLeaveThePreviousFileAlone) {
    const Bytes previous = Image(2, 960);
    int boxes = 0;
    auto expectRefused = [&](const std::string& name) {
        EXPECT_EQ(Save(name), 1) << name;
        ExpectFailureBox(boxes++, "Error writing file!");
    };

    // A read-only file stays as it was, also for root.
    const std::string readOnly = dir + "/readonly.tun";
    WriteBytes(readOnly, previous);
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    expectRefused(readOnly);
    EXPECT_EQ(ReadBytes(readOnly), previous);

    // A name over 255 characters is refused, never cut to the name of
    // another file.
    const std::string cutName = dir + "/" + std::string(255 - dir.size() - 1 - 3, 'c') + ".tu";
    ASSERT_EQ(cutName.size(), 255u);
    WriteBytes(cutName, previous);
    expectRefused(cutName + "n");
    EXPECT_EQ(ReadBytes(cutName), previous);
    EXPECT_FALSE(fs::exists(cutName + "n"));

    // A folder that is not there, a folder, a FIFO and a device.
    expectRefused(dir + "/no/such/folder.tun");
    fs::create_directory(dir + "/folder.tun");
    expectRefused(dir + "/folder.tun");
    const std::string fifo = dir + "/pipe.tun";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const auto start = std::chrono::steady_clock::now();
    expectRefused(fifo);
    expectRefused("/dev/null");
    fs::create_symlink("/dev/null", dir + "/null.tun");
    expectRefused(dir + "/null.tun");
    expectRefused("");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(fs::is_directory(dir + "/folder.tun"));
    EXPECT_TRUE(fs::is_fifo(fifo));

    // A write that stops short (here: the process may not write past 400
    // bytes) is a failure, and the previous content survives whole.
    const std::string target = dir + "/target.tun";
    WriteBytes(target, previous);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 400;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = Save(target);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, 1);
    ExpectFailureBox(boxes++, "Error writing file!");
    EXPECT_EQ(ReadBytes(target), previous);

    // Nothing is left behind beside the files.
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{cutName.substr(dir.size() + 1), "folder.tun",
                                                       "null.tun", "pipe.tun", "readonly.tun",
                                                       "target.tun"}));
}

TEST_F(SettingsFileTest, SuccessfulSavesReplaceTheFileWhole) {
    const Bytes previous(2000, 0xAB);  // longer than a settings file
    const std::string target = dir + "/kept.tun";
    WriteBytes(target, previous);
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(Save(target), 0);
    const Bytes written = ReadBytes(target);
    EXPECT_EQ(written.size(), FileSize);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // Through a link the linked file gets the content, and the link stays.
    const std::string real = dir + "/real.tun";
    WriteBytes(real, previous);
    fs::create_symlink(real, dir + "/link.tun");
    ASSERT_EQ(Save(dir + "/link.tun"), 0);
    EXPECT_TRUE(fs::is_symlink(dir + "/link.tun"));
    EXPECT_EQ(ReadBytes(real), written);

    // A name of exactly 255 characters is taken.
    const std::string longest = dir + "/" + std::string(255 - dir.size() - 1 - 4, 'l') + ".tun";
    ASSERT_EQ(longest.size(), 255u);
    ASSERT_EQ(Save(longest), 0);
    EXPECT_EQ(ReadBytes(longest), written);
    ASSERT_EQ(Save(longest), 0);  // and again, over the existing file
    ASSERT_EQ(Load(longest), 0);

    EXPECT_EQ(modal.script.Count("message"), 0);
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"kept.tun", "link.tun",
                                                       longest.substr(dir.size() + 1), "real.tun"}));
}

// What the channels-only edition writes: option bytes 0 and byte 8 the
// range of the radio it last read. Opened here, the file's channels come
// back in that range rather than held into the one selected now.
TEST_F(SettingsFileTest, AChannelsOnlyFileOpensInTheRangeItWasSavedFor) {
    std::vector<uint8_t> file(809, 0);
    file[8] = 3;
    uint8_t* rec = file.data() + 9;
    rec[0] = 1;
    rec[1] = 13;
    rec[4] = 1400 & 0xFF, rec[5] = 1400 >> 8;
    rec[6] = 2200 & 0xFF, rec[7] = 2200 >> 8;
    const std::string name = dir + "/channels-only.tun";
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), 809);
    Form1->RadioGroup2->SetItemIndex(1);
    ASSERT_EQ(Load(name), 0);
    EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), 3);
    EXPECT_EQ(Form1->Panel1->Caption(), "Working Range: 66.000-88.000 MHz");
    EXPECT_EQ(Form1->FEd1[0]->Text(), "68.000");
    EXPECT_EQ(Form1->FEd2[0]->Text(), "88.000");
    EXPECT_EQ(Form1->FCtcssRxLabel[0]->Caption(), "100,0 Hz");
    for (int k = 0; k < 8; ++k) EXPECT_EQ(Option(k)->Position(), 0) << k;
}
