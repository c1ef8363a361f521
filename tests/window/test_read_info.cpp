// Reading the radio into the window and the Info report: the range chosen
// first, empty and odd records, tone and option defaults, limiting by the
// track bars, failed reads, and random images read through the window.
#include <random>

#include "main_window_fixture.h"
#include "radio_test_helpers.h"

using namespace radio_test;

namespace {

// Everything the window shows of the radio's settings: the range, the rows
// and the options.
std::vector<std::string> WindowState(const TForm1& f) {
    std::vector<std::string> s;
    s.push_back("range " + std::to_string(f.RadioGroup2->ItemIndex()) + " " + f.Panel1->Caption());
    for (const std::string& row : RowsState(f)) s.push_back(row);
    const std::pair<TTrackBar*, TLabel*> options[] = {
        {f.TrackBar1, f.Label9},  {f.TrackBar2, f.Label10}, {f.TrackBar3, f.Label11}, {f.TrackBar4, f.Label12},
        {f.TrackBar5, f.Label13}, {f.TrackBar6, f.Label19}, {f.TrackBar7, f.Label20}, {f.TrackBar8, f.Label22}};
    for (const auto& [bar, label] : options)
        s.push_back(bar->Name() + " " + std::to_string(bar->Position()) + " " + label->Caption());
    return s;
}

class ReadInfoTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        radio = &StartConnected();
    }

    // The log lines after the connection line.
    std::vector<String> LinesSince(size_t first) const {
        std::vector<String> all = LogLines();
        return {all.begin() + static_cast<long>(std::min(first, all.size())), all.end()};
    }

    sim::RadioSim* radio = nullptr;
    ScopedLocale locale{PointLocale()};
};

}  // namespace

TEST_F(ReadInfoTest, ReadShowsTheRangeTheChannelsAndTheOptions) {
    Image m = EmptyImage(2);  // range 1, 40000-48500 kHz
    PutRecord(m, 0, {0x44, 0xB0, 0x60, 0x01, 0x00});
    // Frequency bytes all 0xFF but a tone set: a channel, codes 1023.
    PutRecord(m, 2, {0xFF, 0xFF, 0xFF, 0x01, 0xFF});
    PutRecord(m, 3, ChannelRecord(500, 400, 50, 51));
    // Bits 1-0 set in bytes 1 and 2; tone bytes 0x80 and 0.
    PutRecord(m, 4, {0x44, 0xB3, 0x62, 0x80, 0x00});
    // Codes below the range.
    PutRecord(m, 5, ChannelRecord(100, 10, 2, 3));
    const int options[][2] = {{501, 12}, {502, 0xFF}, {503, 0x3F}, {505, 0xE5},
                                  {506, 16}, {507, 0},    {508, 31},   {510, 0xC8}};
    for (const auto& o : options) m[static_cast<size_t>(o[0])] = static_cast<uint8_t>(o[1]);
    radio->SetMemory(m);
    Form1->FChBx[0]->SetChecked(false);
    const size_t first = LogLines().size();

    Form1->Button3->Click();
    EXPECT_EQ(LinesSince(first),
              (std::vector<String>{"Reading data from device", "Data block succefully read from device"}));
    EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), 1);
    EXPECT_EQ(Form1->Panel1->Caption(), "Working Range: 40.000-48.500 MHz");

    // The worked example; the row that was unticked is ticked and enabled.
    EXPECT_TRUE(Form1->FChBx[0]->Checked());
    EXPECT_TRUE(Form1->FEd1[0]->Enabled());
    EXPECT_EQ(Form1->FTrackRx[0]->Position(), 280);
    EXPECT_EQ(Form1->FEd1[0]->Text(), "40.000");
    EXPECT_EQ(Form1->FTrackTx[0]->Position(), 300);
    EXPECT_EQ(Form1->FEd2[0]->Text(), "40.500");
    EXPECT_EQ(Form1->FUdTx[0]->Position(), 300);
    EXPECT_EQ(Form1->FCtcssRx[0], 1);
    EXPECT_EQ(Form1->FCtcssRxLabel[0]->Caption(), "67,0 Hz");
    EXPECT_EQ(Form1->FCtcssTx[0], 0);
    EXPECT_EQ(Form1->FCtcssTxLabel[0]->Caption(), "Off");

    // Empty records: the range's lowest frequency, "Off", unticked, and
    // the row disabled.
    for (int i : {1, 6, 99}) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(Form1->FChBx[i]->Checked());
        EXPECT_FALSE(Form1->FTrackRx[i]->Enabled());
        EXPECT_EQ(Form1->FEd1[i]->Text(), "40.000");
        EXPECT_EQ(Form1->FEd2[i]->Text(), "40.000");
        EXPECT_EQ(Form1->FCtcssRxLabel[i]->Caption(), "Off");
        EXPECT_EQ(Form1->FCtcssTx[i], 0);
    }

    // Codes outside the range are limited by the bars, without a message.
    EXPECT_TRUE(Form1->FChBx[2]->Checked());
    EXPECT_EQ(Form1->FTrackRx[2]->Position(), 620);
    EXPECT_EQ(Form1->FEd2[2]->Text(), "48.500");
    EXPECT_EQ(Form1->FCtcssRx[2], 1);
    EXPECT_EQ(Form1->FCtcssTxLabel[2]->Caption(), "Off");
    EXPECT_EQ(Form1->FTrackRx[3]->Position(), 500);
    EXPECT_EQ(Form1->FTrackTx[3]->Position(), 400);
    EXPECT_EQ(Form1->FCtcssRxLabel[3]->Caption(), "254,1 Hz");
    EXPECT_EQ(Form1->FCtcssTx[3], 0);
    EXPECT_EQ(Form1->FTrackRx[4]->Position(), 280);
    EXPECT_EQ(Form1->FTrackTx[4]->Position(), 300);
    EXPECT_EQ(Form1->FCtcssRx[4], 0);
    EXPECT_EQ(Form1->FCtcssRxLabel[4]->Caption(), "Off");
    EXPECT_EQ(Form1->FTrackRx[5]->Position(), 280);
    EXPECT_EQ(Form1->FTrackTx[5]->Position(), 280);
    EXPECT_EQ(Form1->FCtcssTxLabel[5]->Caption(), "71,9 Hz");

    // Options, with their read defaults.
    EXPECT_EQ(Form1->TrackBar6->Position(), 5);
    EXPECT_EQ(Form1->Label19->Caption(), "5");
    EXPECT_EQ(Form1->TrackBar7->Position(), 3);
    EXPECT_EQ(Form1->Label20->Caption(), "3");
    EXPECT_EQ(Form1->TrackBar1->Position(), 31);
    EXPECT_EQ(Form1->Label9->Caption(), "3.8 dB");
    EXPECT_EQ(Form1->TrackBar2->Position(), 5);
    EXPECT_EQ(Form1->Label10->Caption(), "-5.5 dB");
    EXPECT_EQ(Form1->TrackBar3->Position(), 16);
    EXPECT_EQ(Form1->Label11->Caption(), "0.0 dB");
    EXPECT_EQ(Form1->TrackBar4->Position(), 0);
    EXPECT_EQ(Form1->Label12->Caption(), "Off");
    EXPECT_EQ(Form1->TrackBar5->Position(), 31);
    EXPECT_EQ(Form1->TrackBar8->Position(), 200);
    EXPECT_EQ(Form1->Label22->Caption(), "200");

    // Reading sent one read frame and wrote nothing.
    EXPECT_EQ(radio->CountFrames(&sim::Frame::IsRead), 1);
    EXPECT_TRUE(radio->Writes().empty());
}

TEST_F(ReadInfoTest, RangeBytesOnReadAndInInfo) {
    // Range byte 0 reads as range 3: the codes are counted from 1320.
    Image m = EmptyImage(0);
    PutRecord(m, 0, {0xD0, 0xC0, 0x00, 0x00, 0x00});
    radio->SetMemory(m);
    Form1->Button3->Click();
    EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), 3);
    EXPECT_EQ(Form1->FEd1[0]->Text(), "66.000");
    EXPECT_EQ(Form1->FEd2[0]->Text(), "88.000");
    EXPECT_EQ(Form1->FTrackTx[0]->Position(), 2200);
    EXPECT_EQ(Form1->FEd1[1]->Text(), "66.000");

    // Range 0 and codes 300: limited to 279 on both sides.
    m = EmptyImage(1);
    PutRecord(m, 0, ChannelRecord(300, 300, 0, 0));
    radio->SetMemory(m);
    Form1->Button3->Click();
    EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), 0);
    EXPECT_EQ(Form1->FEd1[0]->Text(), "39.975");
    EXPECT_EQ(Form1->FEd2[0]->Text(), "39.975");

    // Info reports the radio's range as one line and changes no control.
    const std::vector<std::string> before = WindowState(*Form1);
    const std::pair<int, String> info[] = {
        {1, "Working Range: 33.000-39.975 MHz"}, {2, "Working Range: 40.000-48.500 MHz"},
        {3, "Working Range: 57.000-57.500 MHz"}, {4, "Working Range: 66.000-88.000 MHz"},
        {0, "Error of reading Range litera"},    {5, "Error of reading Range litera"},
        {0xFF, "Error of reading Range litera"},
    };
    for (const auto& [byte, line] : info) {
        radio->SetByte(509, static_cast<uint8_t>(byte));
        const size_t first = LogLines().size();
        Form1->Button6->Click();
        EXPECT_EQ(LinesSince(first), (std::vector<String>{"Reading device Info", line})) << byte;
    }
    EXPECT_EQ(WindowState(*Form1), before);
    EXPECT_TRUE(radio->Writes().empty());
}

TEST_F(ReadInfoTest, AFailedReadChangesNothing) {
    radio->SetMemory(FullImage());
    Form1->Button3->Click();
    radio->SetMemory(EmptyImage(4));
    sim::Faults f;
    f.shortImage = true;
    radio->SetFaults(f);
    const std::vector<std::string> before = WindowState(*Form1);
    const size_t first = LogLines().size();

    Form1->Button3->Click();
    Form1->Button6->Click();
    EXPECT_EQ(LinesSince(first),
              (std::vector<String>{"Reading data from device", "Error reading data block from device",
                                   "Reading device Info", "Error reading data block from device"}));
    EXPECT_EQ(WindowState(*Form1), before);
    // Still connected and usable once the radio answers in full again.
    radio->SetFaults(sim::Faults());
    Form1->Button3->Click();
    EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), 3);
}

TEST_F(ReadInfoTest, ReadingAnUnchangedRadioAgainRunsNoHandler) {
    radio->SetMemory(FullImage());
    Form1->Button3->Click();
    const std::vector<std::string> once = WindowState(*Form1);
    EXPECT_EQ(Form1->FCtcssRxLabel[13]->Caption(), "100,0 Hz");

    // Count every change and click handler that reading could run.
    int runs = 0;
    auto counted = [&runs](TNotifyEvent& event) {
        TNotifyEvent inner = event;
        event = [&runs, inner](TObject* s) {
            ++runs;
            if (inner) inner(s);
        };
    };
    for (int i = 0; i < RowCount; ++i) {
        counted(Form1->FTrackRx[i]->OnChange);
        counted(Form1->FTrackTx[i]->OnChange);
        counted(Form1->FChBx[i]->OnClick);
    }
    for (TTrackBar* bar : {Form1->TrackBar1, Form1->TrackBar2, Form1->TrackBar3, Form1->TrackBar4,
                           Form1->TrackBar5, Form1->TrackBar6, Form1->TrackBar7, Form1->TrackBar8})
        counted(bar->OnChange);
    counted(Form1->RadioGroup2->OnClick);

    Form1->Button3->Click();
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(WindowState(*Form1), once);
    // The counting itself works: a changed radio runs handlers.
    radio->SetByte(510, 7);
    Form1->Button3->Click();
    EXPECT_EQ(runs, 1);
}

// Images of random bytes read through the real window: whatever the bytes,
// every row and option shows a value within its limits, the texts agree
// with the positions, and the values are those the layout gives, limited
// to the range.
TEST_F(ReadInfoTest, RandomImagesShowOnlyValuesInRange) {
    namespace ri = radio_image;
    constexpr int ImageCount = 6;
    std::mt19937 rng(4242);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < ImageCount; ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        Image m;
        for (uint8_t& b : m) b = static_cast<uint8_t>(byte(rng));
        for (int i = 0; i < RowCount; i += 7) PutRecord(m, i, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
        m[509] = static_cast<uint8_t>(n);  // 0-5: every range, and two odd bytes
        radio->SetMemory(m);
        Form1->Button3->Click();
        ASSERT_EQ(LogLines().back(), "Data block succefully read from device");

        const int range = Form1->RadioGroup2->ItemIndex();
        ASSERT_EQ(range, ri::RangeFromByte(m[509]));
        const int min = Form1->RangeMinCode(), max = Form1->RangeMaxCode();
        const int offset = range == 3 ? 1320 : 0;
        for (int i = 0; i < RowCount; ++i) {
            const uint8_t* r = m.data() + ri::RecordAddress(i);
            const bool empty = ri::IsEmptyRecord(r);
            const ri::Codes c = ri::DecodeCodes(r, offset);
            const int rx = empty ? min : std::clamp(c.rx, min, max);
            const int tx = empty ? min : std::clamp(c.tx, min, max);
            ASSERT_EQ(Form1->FChBx[i]->Checked(), !empty) << i;
            ASSERT_EQ(Form1->FTrackRx[i]->Position(), rx) << i;
            ASSERT_EQ(Form1->FTrackTx[i]->Position(), tx) << i;
            ASSERT_EQ(Form1->FUdRx[i]->Position(), rx) << i;
            ASSERT_EQ(Form1->FEd1[i]->Text(), MHzText(rx)) << i;
            ASSERT_EQ(Form1->FEd2[i]->Text(), MHzText(tx)) << i;
            const int toneRx = empty ? 0 : ri::ToneIndex(r[3]);
            const int toneTx = empty ? 0 : ri::ToneIndex(r[4]);
            ASSERT_EQ(Form1->FCtcssRx[i], toneRx) << i;
            ASSERT_EQ(Form1->FCtcssTx[i], toneTx) << i;
            ASSERT_EQ(Form1->FCtcssRxLabel[i]->Caption(), ToneCaption(toneRx)) << i;
            ASSERT_EQ(Form1->FCtcssTxLabel[i]->Caption(), ToneCaption(toneTx)) << i;
        }
        EXPECT_EQ(Form1->TrackBar6->Position(), ri::VolumeFromByte(m[501]));
        EXPECT_EQ(Form1->TrackBar7->Position(), ri::SquelchFromByte(m[502]));
        EXPECT_EQ(Form1->TrackBar1->Position(), m[503] & 0x1F);
        EXPECT_EQ(Form1->TrackBar5->Position(), m[508] & 0x1F);
        EXPECT_EQ(Form1->TrackBar8->Position(), m[510]);
        EXPECT_EQ(Form1->Label22->Caption(), std::to_string(m[510]));
        EXPECT_LE(Form1->TrackBar6->Position(), 9);
        EXPECT_LE(Form1->TrackBar7->Position(), 5);
    }
}
