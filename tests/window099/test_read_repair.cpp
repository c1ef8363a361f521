// The earlier edition's Read: the range taken from the radio's range byte,
// channels outside it erased on the radio, invalid tone bytes cleared, one
// warning box, and what a failed read or a failed repair leaves.
#include "edition099_fixture.h"

using namespace radio_test;

namespace {

constexpr std::array<uint8_t, 5> Erased = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

std::array<uint8_t, 5> RecordOf(const sim::RadioSim& radio, int channel) {
    std::array<uint8_t, 5> r{};
    for (int j = 0; j < 5; ++j) r[static_cast<size_t>(j)] = radio.Byte(5 * channel + j);
    return r;
}

class ReadRepairTest : public Edition099Test {
protected:
    void SetUp() override {
        Edition099Test::SetUp();
        radio = &ConnectTo(EmptyImage(1));
    }
    sim::RadioSim* radio = nullptr;
};

}  // namespace

TEST_F(ReadRepairTest, TheRangeByteSetsTheRangeAndDecidesWhichChannelsSurvive) {
    struct Case {
        uint8_t rangeByte;
        int range;
        const char* text;
        int lower, upper;
    };
    const Case cases[] = {
        {1, 0, "33.000-39.975 MHz", 0, 279},     {0, 3, "66.000-88.500 MHz", 1320, 2200},
        {4, 3, "66.000-88.500 MHz", 1320, 2200}, {5, 0, "33.000-39.975 MHz", 0, 279},
        {0xFF, 2, "57.000-57.500 MHz", 960, 980}, {2, 1, "40.000-48.500 MHz", 280, 620},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.rangeByte));
        const int offset = c.range == 3 ? 1320 : 0;
        Image m = EmptyImage(c.rangeByte);
        PutRecord(m, 0, ChannelRecord(c.lower, c.upper, 1, 2, offset));      // both bounds: kept
        PutRecord(m, 1, ChannelRecord(c.upper + 1, c.lower, 3, 4, offset));  // Rx above
        PutRecord(m, 2, ChannelRecord(c.lower, c.lower - 1 + (c.lower == 0), 5, 6, offset));
        ReadFrom(*radio, m);

        EXPECT_EQ(NewLines(), ReadLines);
        EXPECT_EQ(RangeIndex, c.range);
        EXPECT_EQ(Form1->Panel1->Caption(), std::string("Working Range: ") + c.text);
        EXPECT_EQ(Form1->FTrackRx[50]->Min(), c.lower);
        EXPECT_EQ(Form1->FTrackTx[50]->Max(), c.upper);
        EXPECT_EQ(Form1->FUdTx[50]->Max(), c.upper);
        EXPECT_EQ(Form1->FTrackRx[0]->Position(), c.lower);
        EXPECT_EQ(Form1->FTrackTx[0]->Position(), c.upper);
        EXPECT_EQ(RecordOf(*radio, 0), ChannelRecord(c.lower, c.upper, 1, 2, offset));
        EXPECT_EQ(RecordOf(*radio, 1), Erased);
        // Range 0 has no code below its lowest: channel 2 is good there.
        EXPECT_EQ(RecordOf(*radio, 2) == Erased, c.lower != 0);
        EXPECT_EQ(NewBoxes(), 1);
    }
}

TEST_F(ReadRepairTest, RangeThreeLoadsStoredCodesUpTo880AndErasesTheRest) {
    Image m = EmptyImage(4);
    PutRecord(m, 0, {0x00, 0x00, 0x00, 0, 0});  // stored 0: 66.000 MHz
    // Stored 880 both ways (88.000 MHz), then stored 881 receive.
    const std::array<uint8_t, 3> top = radio_image::EncodeCodes(880, 880, 0);
    PutRecord(m, 1, {top[0], top[1], top[2], 0, 0});
    const std::array<uint8_t, 3> over = radio_image::EncodeCodes(881, 0, 0);
    PutRecord(m, 2, {over[0], over[1], over[2], 0, 0});
    ReadFrom(*radio, m);
    EXPECT_EQ(Form1->FEd1[0]->Text(), "66.000");
    EXPECT_EQ(Form1->FEd1[1]->Text(), "88.000");
    EXPECT_EQ(Form1->FTrackTx[1]->Position(), 2200);
    EXPECT_EQ(RecordOf(*radio, 2), Erased);
    std::vector<Written> erase;
    AddRecord(erase, 2, Erased);
    EXPECT_EQ(WritesTo(*radio), erase);
}

TEST_F(ReadRepairTest, ABadChannelIsErasedWholeAndItsRowKeepsWhatItShowed) {
    // Row 3 shows 34.000 / 34.500 MHz with tones before the Read.
    Form1->FTrackRx[3]->SetPosition(40);
    Form1->FTrackTx[3]->SetPosition(60);
    const std::vector<std::string> before = RowsState(*Form1);

    Image m = EmptyImage(1);
    PutRecord(m, 3, ChannelRecord(100, 300, 7, 8));  // Rx in range, Tx out of range
    ReadFrom(*radio, m);

    std::vector<Written> erase;
    AddRecord(erase, 3, Erased);
    EXPECT_EQ(WritesTo(*radio), erase);
    EXPECT_EQ(RecordOf(*radio, 3), Erased);
    EXPECT_EQ(RowsState(*Form1)[3], before[3]);
    ASSERT_EQ(NewBoxes(), 1);
    const auto* box = modal.script.Last("message");
    EXPECT_EQ(box->text, "During data reading has been detected error frequencys, out of working range. Error fixed.");
    EXPECT_EQ(box->caption, "Warning!");
    EXPECT_EQ(box->flags, 0x30u);
    EXPECT_EQ(box->owner, Form1);
}

TEST_F(ReadRepairTest, InvalidToneBytesAreClearedOnTheRadioValidOnesKept) {
    Image m = EmptyImage(1);
    PutRecord(m, 0, ChannelRecord(10, 11, 0, 51));
    PutRecord(m, 1, ChannelRecord(12, 13, 0x80, 50));
    PutRecord(m, 2, ChannelRecord(14, 15, 0xFF, 1));
    ReadFrom(*radio, m);

    EXPECT_EQ(WritesTo(*radio), (std::vector<Written>{{4, 0}, {8, 0}, {13, 0}}));
    EXPECT_EQ(Form1->FCtcssRxLabel[0]->Caption(), "Off");
    EXPECT_EQ(Form1->FCtcssTxLabel[0]->Caption(), "Off");
    EXPECT_EQ(Form1->FCtcssTx[0], 0);
    EXPECT_EQ(Form1->FCtcssRxLabel[1]->Caption(), "Off");
    EXPECT_EQ(Form1->FCtcssTx[1], 50);
    EXPECT_EQ(Form1->FCtcssTxLabel[1]->Caption(), "254,1 Hz");
    EXPECT_EQ(radio->Byte(4), 0);
    EXPECT_EQ(radio->Byte(8), 0);
    EXPECT_EQ(radio->Byte(13), 0);
    // Tones only: nothing was erased, so no box.
    EXPECT_EQ(NewBoxes(), 0);
    EXPECT_TRUE(Form1->FChBx[2]->Checked());
}

TEST_F(ReadRepairTest, OneBoxForManyBadChannelsAndARepairedRadioReadsCleanly) {
    Image m = EmptyImage(1);
    for (int n = 10; n < 40; n += 3) PutRecord(m, n, ChannelRecord(500, 10, 0, 0));
    PutRecord(m, 41, ChannelRecord(10, 10, 99, 0));
    ReadFrom(*radio, m);
    EXPECT_EQ(NewBoxes(), 1);
    EXPECT_EQ(WritesTo(*radio).size(), 10u * 5 + 1);

    // The radio now holds only good channels: a second Read writes nothing.
    radio->ClearFrames();
    Forget();
    Form1->Button3->Click();
    EXPECT_EQ(NewLines(), ReadLines);
    EXPECT_TRUE(radio->Writes().empty());
    EXPECT_EQ(NewBoxes(), 0);
}

TEST_F(ReadRepairTest, ConnectingErasesBadChannelsBeforeTheUserDoesAnything) {
    Form1->Button2->Click();  // disconnect the fixture's radio
    Image m = EmptyImage(2);
    PutRecord(m, 0, ChannelRecord(300, 310, 0, 0));
    PutRecord(m, 1, ChannelRecord(100, 310, 0, 0));  // Rx below range 1
    radio->SetMemory(m);
    radio->ClearFrames();
    Forget();
    Form1->Button2->Click();

    EXPECT_EQ(NewLines(), (std::vector<String>{"Connection with device succefully established",
                                               "Reading data from device",
                                               "Data block succefully read from device"}));
    EXPECT_EQ(RecordOf(*radio, 1), Erased);
    EXPECT_EQ(Form1->FTrackRx[0]->Position(), 300);
    EXPECT_EQ(NewBoxes(), 1);
    EXPECT_TRUE(Form1->Button3->Enabled());
    EXPECT_TRUE(Form1->Button6->Enabled());
    EXPECT_TRUE(Form1->Button8->Enabled());
}

TEST_F(ReadRepairTest, AFailedReadChangesNothingAndDisconnectKeepsTheLastRead) {
    Image m = EmptyImage(3);
    PutRecord(m, 5, ChannelRecord(970, 975, 9, 9));
    ReadFrom(*radio, m);
    const std::vector<std::string> rows = RowsState(*Form1);
    const String caption = Form1->Panel1->Caption();

    sim::Faults silent;
    silent.silent = true;
    radio->SetFaults(silent);
    radio->SetMemory(EmptyImage(1));
    Forget();
    Form1->Button3->Click();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Reading data from device", "Error reading data block from device"}));
    EXPECT_EQ(RangeIndex, 2);
    EXPECT_EQ(Form1->Panel1->Caption(), caption);
    EXPECT_EQ(RowsState(*Form1), rows);
    EXPECT_EQ(NewBoxes(), 0);

    Form1->Button2->Click();
    EXPECT_FALSE(Connected);
    EXPECT_EQ(RangeIndex, 2);
    EXPECT_EQ(Form1->Panel1->Caption(), "Working Range: 57.000-57.500 MHz");
    EXPECT_EQ(RowsState(*Form1), rows);
}

TEST_F(ReadRepairTest, AFailedRepairWriteIsLoggedAndNotAnnouncedAsFixed) {
    Image m = EmptyImage(1);
    PutRecord(m, 1, ChannelRecord(400, 10, 0, 0));  // bad; its erase fails
    PutRecord(m, 2, ChannelRecord(10, 10, 60, 0));  // tone clear fails
    sim::Faults refuse;
    refuse.refuseAt = {5 + 2, 10 + 3};
    radio->SetFaults(refuse);
    ReadFrom(*radio, m);

    EXPECT_EQ(NewLines(), (std::vector<String>{"Reading data from device",
                                               "Data block succefully read from device",
                                               "Error writing data to device (channels)",
                                               "Error writing data to device (ctcss rx)"}));
    EXPECT_EQ(NewBoxes(), 0);
    // Every byte of the erase was still sent.
    EXPECT_EQ(radio->Writes().size(), 5u + 1u);

    // With one channel erased in full besides, the box comes once.
    radio->SetFaults({});
    PutRecord(m, 3, ChannelRecord(400, 10, 0, 0));
    refuse.refuseAt = {5 + 2};
    radio->SetFaults(refuse);
    ReadFrom(*radio, m);
    EXPECT_EQ(NewBoxes(), 1);
}
