// The earlier edition's settings files: the full edition's layout with a
// header this edition writes but never reads.
#include <fstream>
#include <iterator>

#include "edition099_fixture.h"
#include "support/test_env.h"

using namespace radio_test;

namespace {

class Settings099Test : public Edition099Test {
protected:
    std::vector<uint8_t> ReadBytes(const String& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteBytes(const String& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const String dir = test_env::MakeTempDir("settings099");
};

// One record as the full edition lays it out.
void PutFileRecord(std::vector<uint8_t>& file, int row, bool on, int toneRx, int toneTx, int rx, int tx) {
    uint8_t* r = file.data() + 9 + 8 * row;
    r[0] = on ? 1 : 0;
    r[1] = static_cast<uint8_t>(toneRx);
    r[2] = static_cast<uint8_t>(toneTx);
    r[4] = static_cast<uint8_t>(rx & 0xFF);
    r[5] = static_cast<uint8_t>(rx >> 8);
    r[6] = static_cast<uint8_t>(tx & 0xFF);
    r[7] = static_cast<uint8_t>(tx >> 8);
}

}  // namespace

TEST_F(Settings099Test, SavedFilesCarryTheRadiosRangeForTheFullEdition) {
    sim::RadioSim& radio = ConnectTo(EmptyImage(3));  // range 2, 57 MHz
    Image m = EmptyImage(3);
    PutRecord(m, 0, ChannelRecord(965, 980, 12, 0));
    ReadFrom(radio, m);
    Form1->FChBx[1]->SetChecked(true);
    Form1->FCtcssTx[1] = 50;

    Form1->FFileName = dir + "/radio.tun";
    ASSERT_EQ(Form1->SaveSettings(), 0);
    const std::vector<uint8_t> bytes = ReadBytes(Form1->FFileName);
    ASSERT_EQ(bytes.size(), 809u);
    std::vector<uint8_t> expected(809, 0);
    expected[8] = 2;  // the range index the codes belong to
    PutFileRecord(expected, 0, true, 12, 0, 965, 980);
    PutFileRecord(expected, 1, true, 0, 50, 960, 960);
    for (int row = 2; row < RowCount; ++row) PutFileRecord(expected, row, false, 0, 0, 960, 960);
    EXPECT_EQ(bytes, expected);
}

TEST_F(Settings099Test, AFullEditionFileLoadsItsChannelsIntoTheCurrentRange) {
    CreateWindows();
    std::vector<uint8_t> file(809, 0);
    for (int k = 0; k < 8; ++k) file[static_cast<size_t>(k)] = 9;
    file[8] = 3;  // saved in range 3
    PutFileRecord(file, 0, true, 7, 51, 1400, 100);
    PutFileRecord(file, 1, false, 0, 50, 20, 279);
    const String path = dir + "/full.tun";
    WriteBytes(path, file);
    const std::vector<std::string> before = RowsState(*Form1);

    modal.script.fileAnswers.push_back(path);
    Form1->N2->Click();
    EXPECT_EQ(LogLines().back(), "File with settings (" + path + ") loaded succefully");
    EXPECT_EQ(RangeIndex, 0);
    EXPECT_EQ(Form1->Panel1->Caption(), "Working Range [unknown]");
    EXPECT_EQ(Form1->FTrackRx[0]->Position(), 279);  // held at the top of range 0
    EXPECT_EQ(Form1->FEd1[0]->Text(), "39.975");
    EXPECT_EQ(Form1->FTrackTx[0]->Position(), 100);
    EXPECT_EQ(Form1->FCtcssRxLabel[0]->Caption(), "82,5 Hz");
    EXPECT_EQ(Form1->FCtcssTx[0], 0);
    EXPECT_FALSE(Form1->FChBx[1]->Checked());
    EXPECT_EQ(Form1->FCtcssTxLabel[1]->Caption(), "254,1 Hz");
    EXPECT_EQ(Form1->FTrackRx[50]->Max(), 279);

    // A file one byte short changes nothing.
    file.pop_back();
    PutFileRecord(file, 0, true, 1, 1, 5, 5);
    WriteBytes(path, file);
    const std::vector<std::string> loaded = RowsState(*Form1);
    EXPECT_NE(loaded, before);
    EXPECT_EQ(Form1->LoadSettings(), 1);
    EXPECT_EQ(modal.script.Last("message")->text, "Error reading file!");
    EXPECT_EQ(modal.script.Last("message")->caption, "WARNING!");
    EXPECT_EQ(RowsState(*Form1), loaded);
}
