// Writing channels and options back to the radio: the bytes on the wire,
// only what differs, erasing, the range byte, failures reported once per
// group, failed reads, and a radio that hangs up in the middle.
//
// Every press of a Write button ends with the reset and its 2 s pause, so
// most cases call WriteChannels / WriteOptions directly and only the cases
// about the reset press the buttons.
#include <chrono>

#include "main_window_fixture.h"
#include "radio_test_helpers.h"

using namespace radio_test;

namespace {

class WriteTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        radio = &StartConnected();
    }

    std::vector<Written> Writes() const { return WritesTo(*radio); }

    // Loads the image into the radio and reads it into the window; the
    // frames and log lines so far are forgotten.
    void ReadFrom(const Image& m) {
        radio->SetMemory(m);
        Form1->Button3->Click();
        ASSERT_EQ(LogLines().back(), "Data block succefully read from device");
        radio->ClearFrames();
        firstLine = LogLines().size();
    }

    std::vector<String> NewLines() {
        std::vector<String> all = LogLines();
        std::vector<String> fresh(all.begin() + static_cast<long>(std::min(firstLine, all.size())), all.end());
        firstLine = all.size();
        return fresh;
    }

    void Fault(void (*set)(sim::Faults&)) {
        sim::Faults f;
        set(f);
        radio->SetFaults(f);
    }

    sim::RadioSim* radio = nullptr;
    size_t firstLine = 0;
};

const std::vector<String> ChannelsDone = {"Writing channels data to device",
                                          "Writing channels to device complete"};

}  // namespace

TEST_F(WriteTest, WorkedExamplesGoOutAsTheseFrames) {
    struct Case {
        int range, row, rx, tx, toneRx;
        std::array<uint8_t, 3> bytes;
    };
    const Case cases[] = {
        {1, 0, 280, 300, 1, {0x44, 0xB0, 0x60}},   {3, 0, 1320, 2200, 0, {0xD0, 0xC0, 0x00}},
        {3, 1, 1320, 1320, 0, {0x00, 0x00, 0x00}},  {3, 99, 2200, 2200, 0, {0xDD, 0xC0, 0xC0}},
        {0, 0, 0, 279, 0, {0x40, 0x5C, 0x00}},      {2, 60, 980, 980, 0, {0xFF, 0x50, 0x50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("range " + std::to_string(c.range) + " row " + std::to_string(c.row));
        // The radio is empty and already in the range: only the row goes out.
        ReadFrom(EmptyImage(static_cast<uint8_t>(c.range + 1)));
        Form1->FChBx[c.row]->SetChecked(true);
        Form1->FTrackRx[c.row]->SetPosition(c.rx);
        Form1->FTrackTx[c.row]->SetPosition(c.tx);
        Form1->FCtcssRx[c.row] = c.toneRx;
        Form1->FCtcssTx[c.row] = 0;
        Form1->WriteChannels();

        EXPECT_EQ(NewLines(), ChannelsDone);
        const std::vector<sim::Frame> frames = radio->Frames();
        ASSERT_EQ(frames.size(), 6u);
        EXPECT_TRUE(frames[0].IsRead());
        const uint8_t values[5] = {c.bytes[0], c.bytes[1], c.bytes[2], static_cast<uint8_t>(c.toneRx), 0};
        for (int j = 0; j < 5; ++j) {
            const int address = 5 * c.row + j;
            const std::vector<uint8_t> frame = {0x11, 0x39, static_cast<uint8_t>(address < 256 ? 0x03 : 0x13),
                                                static_cast<uint8_t>(address & 0xFF), values[j]};
            EXPECT_EQ(frames[static_cast<size_t>(j + 1)].bytes, frame) << "byte " << j;
            EXPECT_EQ(radio->Byte(address), values[j]);
        }
    }

    // The range byte, last and in the upper half of the memory.
    Image m = EmptyImage(7);
    ReadFrom(m);  // 7 reads as range 2
    Form1->RadioGroup2->SetItemIndex(0);
    Form1->WriteChannels();
    const std::vector<sim::Frame> frames = radio->Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].bytes, (std::vector<uint8_t>{0x11, 0x39, 0x13, 0xFD, 0x01}));
    EXPECT_EQ(radio->Byte(509), 1);
}

TEST_F(WriteTest, OnlyWhatDiffersIsSentAndEachPressEndsWithOneReset) {
    Image m = FullImage();
    m[5 * 10 + 1] |= 0x03;  // bits 1-0 the program never writes
    m[5 * 10 + 2] |= 0x01;
    ReadFrom(m);

    // Nothing changed: a read, no write, one reset; three lines each.
    Form1->Button8->Click();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Writing channels data to device",
                                               "Writing channels to device complete",
                                               "Reset sequence transferred to device"}));
    Form1->Button7->Click();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Writing options to device", "Writing options to device complete",
                                               "Reset sequence transferred to device"}));
    EXPECT_TRUE(radio->Writes().empty());
    EXPECT_EQ(radio->CountFrames(&sim::Frame::IsReset), 2);
    EXPECT_EQ(radio->CountFrames(&sim::Frame::IsRead), 2);
    const std::vector<sim::Frame> frames = radio->Frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[1].bytes, (std::vector<uint8_t>{0x11, 0x39, 0x04, 0x00}));
    EXPECT_EQ(radio->Memory(), m);

    // One receive frequency changed: that channel's three bytes only.
    radio->ClearFrames();
    const int rx42 = Form1->FTrackRx[42]->Position() + 1;
    const int tx42 = Form1->FTrackTx[42]->Position();
    Form1->FTrackRx[42]->SetPosition(rx42);
    Form1->WriteChannels();
    const std::array<uint8_t, 5> r42 = ChannelRecord(rx42, tx42, 0, 0);
    EXPECT_EQ(Writes(), (std::vector<Written>{{210, r42[0]}, {211, r42[1]}, {212, r42[2]}}));

    // One transmit tone changed: that byte only.
    radio->ClearFrames();
    Form1->FCtcssTx[7] = 49;
    Form1->WriteChannels();
    EXPECT_EQ(Writes(), (std::vector<Written>{{39, 49}}));

    // One option changed: that byte only.
    radio->ClearFrames();
    Form1->TrackBar8->SetPosition(201);
    Form1->WriteOptions();
    EXPECT_EQ(Writes(), (std::vector<Written>{{510, 201}}));
    EXPECT_EQ(NewLines().size(), 6u);

    // The radio holds what the window shows; unused bytes are untouched.
    m[210] = r42[0], m[211] = r42[1], m[212] = r42[2], m[39] = 49, m[510] = 201;
    EXPECT_EQ(radio->Memory(), m);
}

TEST_F(WriteTest, ErasingEmptyRecordsAndValuesReadWithDefaults) {
    Image m = EmptyImage(1);
    PutRecord(m, 3, ChannelRecord(10, 20, 1, 2));
    PutRecord(m, 4, ChannelRecord(30, 40, 3, 4));
    PutRecord(m, 6, ChannelRecord(50, 60, 51, 0x80));  // tones read as "Off"
    ReadFrom(m);
    Fault([](sim::Faults& f) {
        f.wrongEchoAt = {15, 16, 17, 18};
        f.noEchoAt = {19};
    });

    // Row 0 over an empty record: all five bytes. Rows 3 and 4 unticked over
    // channels: erased with 0xFF, failed echoes not reported. Row 5 unticked
    // over an empty record: nothing. Row 6's tones go out as 0.
    Form1->FChBx[0]->SetChecked(true);
    Form1->FChBx[3]->SetChecked(false);
    Form1->FChBx[4]->SetChecked(false);
    Form1->WriteChannels();
    std::vector<Written> expected;
    AddRecord(expected, 0, {0, 0, 0, 0, 0});
    AddRecord(expected, 3, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    AddRecord(expected, 4, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    expected.push_back({33, 0});
    expected.push_back({34, 0});
    EXPECT_EQ(Writes(), expected);
    EXPECT_EQ(NewLines(), ChannelsDone);
    // The window keeps the erased rows as they were.
    EXPECT_FALSE(Form1->FChBx[3]->Checked());
    EXPECT_EQ(Form1->FTrackTx[3]->Position(), 20);

    // Range byte 0 reads as range 3 and is rewritten as 4, and nothing else.
    radio->SetFaults(sim::Faults());
    m = EmptyImage(0);
    PutRecord(m, 0, {0xD0, 0xC0, 0x00, 0x00, 0x00});
    ReadFrom(m);
    Form1->WriteChannels();
    EXPECT_EQ(Writes(), (std::vector<Written>{{509, 4}}));

    // Down to range 0: the row is limited to 279 on both sides, then the
    // range byte goes last.
    radio->ClearFrames();
    Form1->RadioGroup2->SetItemIndex(0);
    Form1->WriteChannels();
    const std::array<uint8_t, 5> top = ChannelRecord(279, 279, 0, 0);
    EXPECT_EQ(Writes(), (std::vector<Written>{{0, top[0]}, {1, top[1]}, {2, top[2]}, {509, 1}}));

    // Option bytes out of their limits read as defaults and are written so.
    m = FullImage();
    m[501] = 10, m[502] = 6, m[503] = 0xE5;
    ReadFrom(m);
    Form1->WriteOptions();
    EXPECT_EQ(Writes(), (std::vector<Written>{{501, 5}, {502, 3}, {503, 5}}));
    EXPECT_EQ(radio->Byte(500), 0x5A);
    EXPECT_EQ(radio->Byte(504), 0xA5);
    EXPECT_EQ(radio->Byte(511), 0x3C);
}

TEST_F(WriteTest, FailuresAreLoggedOncePerGroupAndTheRestStillGoesOut) {
    ReadFrom(EmptyImage(1));
    Form1->RadioGroup2->SetItemIndex(1);  // the range byte will differ
    for (int row : {2, 3, 4, 5}) Form1->FChBx[row]->SetChecked(true);
    // A wrong echo at the middle frequency byte of row 2, at the receive
    // tone of row 3, the transmit tone of row 4 and at the range byte.
    Fault([](sim::Faults& f) { f.wrongEchoAt = {11, 18, 24, 509}; });
    Form1->WriteChannels();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Writing channels data to device",
                                               "Error writing data to device (channels)",
                                               "Error writing data to device (ctcss rx)",
                                               "Error writing data to device (ctcss tx)",
                                               "Error writing litera of Range",
                                               "Writing channels to device complete"}));
    std::vector<Written> expected;
    for (int row : {2, 3, 4, 5}) AddRecord(expected, row, ChannelRecord(280, 280, 0, 0));
    expected.push_back({509, 2});
    EXPECT_EQ(Writes(), expected);

    // Every option byte is tried; the two that fail have their own lines.
    radio->ClearFrames();
    for (int a : {501, 502, 503, 505, 506, 507, 508, 510}) radio->SetByte(a, 0);
    Fault([](sim::Faults& f) { f.wrongEchoAt = {503, 510}; });
    for (TTrackBar* bar : {Form1->TrackBar1, Form1->TrackBar2, Form1->TrackBar3, Form1->TrackBar4,
                           Form1->TrackBar5, Form1->TrackBar6, Form1->TrackBar7, Form1->TrackBar8})
        bar->SetPosition(1);
    Form1->WriteOptions();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Writing options to device", "Error writing Level Deviation",
                                               "Error writing of Level SQL",
                                               "Writing options to device complete"}));
    EXPECT_EQ(Writes(), (std::vector<Written>{{501, 1}, {502, 1}, {503, 1}, {505, 1}, {506, 1}, {507, 1},
                                              {508, 1}, {510, 1}}));

    // The next press compares again and sends the failed groups once more.
    radio->SetFaults(sim::Faults());
    radio->ClearFrames();
    radio->SetByte(11, 0xFF);  // a frequency group the radio kept only in part
    Form1->WriteChannels();
    EXPECT_EQ(Writes(), (std::vector<Written>{{10, 0x44}, {11, 0x60}, {12, 0x60}}));
}

TEST_F(WriteTest, AFailedReadWritesNothingAndTheResetStillGoesOut) {
    ReadFrom(FullImage());
    Fault([](sim::Faults& f) { f.shortImage = true; });
    Form1->FTrackRx[0]->SetPosition(200);
    Form1->Button8->Click();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Writing channels data to device", "Error of connection with device",
                                               "Writing channels to device complete",
                                               "Reset sequence transferred to device"}));
    Form1->Button7->Click();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Writing options to device", "Error of connection with device",
                                               "Writing options to device complete",
                                               "Reset sequence transferred to device"}));
    EXPECT_TRUE(radio->Writes().empty());
    EXPECT_EQ(radio->CountFrames(&sim::Frame::IsReset), 2);

    // With the link closed the reset cannot go out either.
    Radiocomm->ClosePort();
    Form1->Button8->Click();
    EXPECT_EQ(NewLines(), (std::vector<String>{"Writing channels data to device", "Error of connection with device",
                                               "Writing channels to device complete",
                                               "Error reset sequence transfer"}));
    Form1->Button7->Click();
    EXPECT_EQ(NewLines().back(), "Error reset sequence transfer");
}

TEST_F(WriteTest, ARadioThatHangsUpMidWriteFailsEveryLaterWrite) {
    ReadFrom(EmptyImage(1));
    for (int row : {0, 1, 2, 3}) Form1->FChBx[row]->SetChecked(true);
    // The read and six writes are answered (row 0 and the first byte of
    // row 1); the line closes on the seventh write.
    sim::Faults f;
    f.hangUpAfterFrames = 8;
    radio->SetFaults(f);

    const auto start = std::chrono::steady_clock::now();
    Form1->Button8->Click();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::vector<String> expected = {"Writing channels data to device"};
    for (int row = 1; row <= 3; ++row) {
        expected.push_back("Error writing data to device (channels)");
        expected.push_back("Error writing data to device (ctcss rx)");
        expected.push_back("Error writing data to device (ctcss tx)");
    }
    expected.push_back("Writing channels to device complete");
    expected.push_back("Error reset sequence transfer");
    EXPECT_EQ(NewLines(), expected);
    EXPECT_EQ(radio->Writes().size(), 7u);
    for (int a = 0; a < 5; ++a) EXPECT_EQ(radio->Byte(a), 0) << a;
    // Thirteen failing exchanges, each bounded by the 1 s time-outs.
    EXPECT_LT(seconds, 13 * 1.1 + 1.0);

    // The window stays usable: Disconnect works and closes the port.
    Form1->Button2->Click();
    EXPECT_FALSE(Connected);
    EXPECT_EQ(Radiocomm->PortHandle(), HANDLE(0));
    EXPECT_EQ(LogLines().back(), "Connection with device broken");
    EXPECT_TRUE(Form1->Button2->Enabled());
    EXPECT_FALSE(Form1->Button8->Enabled());
}
