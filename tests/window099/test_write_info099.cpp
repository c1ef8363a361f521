// The earlier edition's Write and Info: channels only, never the range
// byte, the range-3 offset from the radio's range, the reset sent by the
// writer itself, and this edition's Info texts.
#include "edition099_fixture.h"

using namespace radio_test;

namespace {

class WriteInfo099Test : public Edition099Test {
protected:
    void SetUp() override {
        Edition099Test::SetUp();
        radio = &ConnectTo(EmptyImage(1));
    }

    void Silence() {
        sim::Faults silent;
        silent.silent = true;
        radio->SetFaults(silent);
    }

    sim::RadioSim* radio = nullptr;
};

const std::vector<String> ChannelsDone = {"Writing channels data to device",
                                          "Writing channels to device complete"};

}  // namespace

TEST_F(WriteInfo099Test, ATickedBadRowIsPutBackAndAnUntickedOneLeftErased) {
    // Row 1 ticked and row 2 unticked, both over channels out of range
    // (the connect read an empty radio: every row is unticked).
    Form1->FChBx[1]->SetChecked(true);
    Form1->FTrackRx[1]->SetPosition(10);
    Form1->FTrackTx[1]->SetPosition(20);
    Form1->FCtcssRx[1] = 3;
    Form1->FCtcssTx[1] = 4;
    Image m = EmptyImage(1);
    PutRecord(m, 1, ChannelRecord(300, 20, 1, 1));
    PutRecord(m, 2, ChannelRecord(300, 20, 1, 1));
    ReadFrom(*radio, m);
    ASSERT_EQ(NewBoxes(), 1);

    // Every other row now matches the radio: empty channels unticked.
    radio->ClearFrames();
    Forget();
    Form1->Button8->Click();
    EXPECT_EQ(NewLines(), ChannelsDone);
    std::vector<Written> expected;
    AddRecord(expected, 1, ChannelRecord(10, 20, 3, 4));
    EXPECT_EQ(WritesTo(*radio), expected);
    for (int j = 0; j < 5; ++j) EXPECT_EQ(radio->Byte(10 + j), 0xFF) << j;
    // The reset follows the writes, and no line is logged for it.
    const std::vector<sim::Frame> frames = radio->Frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_TRUE(frames.back().IsReset());
    EXPECT_EQ(radio->CountFrames(&sim::Frame::IsReset), 1);
}

TEST_F(WriteInfo099Test, RangeThreeWritesStoredCodesAndNeverTheRangeByte) {
    // Range byte 0 reads as range 3; the full edition would write 4 there.
    Image m = EmptyImage(0);
    PutRecord(m, 0, ChannelRecord(1400, 2200, 5, 0, 1320));
    ReadFrom(*radio, m);
    Form1->FTrackRx[0]->SetPosition(1500);
    Form1->FChBx[1]->SetChecked(true);
    Form1->FTrackRx[1]->SetPosition(1320);
    Form1->FTrackTx[1]->SetPosition(1321);
    radio->ClearFrames();

    Form1->Button8->Click();
    std::vector<Written> expected;
    const std::array<uint8_t, 3> row0 = radio_image::EncodeCodes(1500, 2200, 1320);
    for (int j = 0; j < 3; ++j) expected.push_back({j, row0[static_cast<size_t>(j)]});
    AddRecord(expected, 1, ChannelRecord(1320, 1321, 0, 0, 1320));
    EXPECT_EQ(WritesTo(*radio), expected);
    for (const Written& w : WritesTo(*radio)) EXPECT_LT(w.address, 500);
    EXPECT_EQ(radio->Byte(509), 0);
    EXPECT_EQ(RangeIndex, 3);
}

TEST_F(WriteInfo099Test, NothingDiffersStillResetsAndAFailedReadSendsNothing) {
    radio->ClearFrames();
    Forget();
    Form1->WriteChannels();
    EXPECT_EQ(NewLines(), ChannelsDone);
    EXPECT_TRUE(radio->Writes().empty());
    EXPECT_EQ(radio->CountFrames(&sim::Frame::IsReset), 1);

    Silence();
    radio->ClearFrames();
    Form1->Button8->Click();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Writing channels data to device",
                                               "Error of connection with device",
                                               "Writing channels to device complete"}));
    EXPECT_TRUE(radio->Writes().empty());
    EXPECT_EQ(radio->CountFrames(&sim::Frame::IsReset), 0);
}

TEST_F(WriteInfo099Test, InfoLogsThisEditionsRangeTexts) {
    const std::pair<uint8_t, String> cases[] = {
        {1, "Working Range: 33.000-39.975 MHz"}, {3, "Working Range: 57.000-57.500 MHz"},
        {4, "Working Range: 66.000-88.500 MHz"}, {0, "Error writing litera of Range"},
        {5, "Error writing litera of Range"},
    };
    for (const auto& [rangeByte, line] : cases) {
        radio->SetMemory(EmptyImage(rangeByte));
        Forget();
        Form1->Button6->Click();
        EXPECT_EQ(NewLines(), (std::vector<String>{"Reading device Info", line})) << int(rangeByte);
    }
    // Info changes nothing: the range is still that of the last Read.
    EXPECT_EQ(RangeIndex, 0);
    EXPECT_EQ(Form1->Panel1->Caption(), "Working Range: 33.000-39.975 MHz");
    EXPECT_TRUE(radio->Writes().empty());

    Silence();
    Forget();
    Form1->Button6->Click();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Reading device Info", "Error reading data block from device"}));
}
