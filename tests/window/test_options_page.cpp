// The Options page: the eight level track bars and the value labels that
// follow them, in a locale with a decimal point and in one with a comma.
#include "main_window_fixture.h"
#include "radio_test_helpers.h"

namespace {

using radio_test::ScopedLocale;

class OptionsPageTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateWindows();
    }

    struct Bar {
        TTrackBar* bar;
        TLabel* value;
    };
    std::vector<Bar> Bars() const {
        return {{Form1->TrackBar1, Form1->Label9},  {Form1->TrackBar2, Form1->Label10},
                {Form1->TrackBar3, Form1->Label11}, {Form1->TrackBar4, Form1->Label12},
                {Form1->TrackBar5, Form1->Label13}, {Form1->TrackBar6, Form1->Label19},
                {Form1->TrackBar7, Form1->Label20}, {Form1->TrackBar8, Form1->Label22}};
    }

    // The label of a bar moved to a position (through 0 first, so the
    // change handler runs even when the bar was already there).
    static String LabelAt(const Bar& b, int position) {
        b.bar->SetPosition(position == 0 ? 1 : 0);
        b.bar->SetPosition(position);
        return b.value->Caption();
    }

    // The dB labels at the positions the page is known by; sep is the
    // locale's decimal separator.
    void CheckDecibelLabels(const String& sep) {
        const std::vector<Bar> bars = Bars();
        const std::pair<int, String> deviation[] = {
            {1, "-3" + sep + "8 dB"},  {2, "-3" + sep + "5 dB"},  {3, "-3" + sep + "3 dB"},
            {4, "-3" + sep + "0 dB"},  {5, "-2" + sep + "8 dB"},  {15, "-0" + sep + "3 dB"},
            {16, "0" + sep + "0 dB"},  {17, "0" + sep + "3 dB"},  {18, "0" + sep + "5 dB"},
            {29, "3" + sep + "3 dB"},  {31, "3" + sep + "8 dB"},  {0, "Off"},
        };
        for (const auto& [p, text] : deviation) EXPECT_EQ(LabelAt(bars[0], p), text) << "TrackBar1 at " << p;

        const std::pair<int, String> halfSteps[] = {
            {1, "-7" + sep + "5 dB"}, {2, "-7" + sep + "0 dB"}, {15, "-0" + sep + "5 dB"},
            {16, "0" + sep + "0 dB"}, {17, "0" + sep + "5 dB"}, {31, "7" + sep + "5 dB"},
            {0, "Off"},
        };
        for (int k = 1; k <= 4; ++k)
            for (const auto& [p, text] : halfSteps)
                EXPECT_EQ(LabelAt(bars[static_cast<size_t>(k)], p), text) << "TrackBar" << k + 1 << " at " << p;
    }
};

}  // namespace

TEST_F(OptionsPageTest, BarsStartAtZeroWithTheirLimitsHintsAndTabOrder) {
    const std::vector<Bar> bars = Bars();
    const int maxima[] = {31, 31, 31, 31, 31, 9, 5, 255};
    const char* const startCaptions[] = {"Off", "Off", "Off", "Off", "Off", "0", "0", "0"};
    const char* const hints[] = {"Deviation Level", "Speech Level", "Gain on", "Level CTCSS on transfer",
                                 "Level CTCSS on reception", "", "", ""};
    const int tabOrder[] = {0, 1, 2, 3, 4, 5, 6, 8};
    for (size_t k = 0; k < bars.size(); ++k) {
        SCOPED_TRACE("TrackBar" + std::to_string(k + 1));
        EXPECT_EQ(bars[k].bar->Min(), 0);
        EXPECT_EQ(bars[k].bar->Max(), maxima[k]);
        EXPECT_EQ(bars[k].bar->Position(), 0);
        EXPECT_EQ(bars[k].value->Caption(), startCaptions[k]);
        EXPECT_EQ(bars[k].bar->Hint(), hints[k]);
        EXPECT_EQ(bars[k].bar->ShowHint(), k < 5);
        EXPECT_EQ(bars[k].bar->TabOrder(), tabOrder[k]);
        EXPECT_EQ(bars[k].bar->Parent(), Form1->TabSheet2);
    }
    EXPECT_EQ(Form1->Button7->TabOrder(), 7);
    EXPECT_EQ(Form1->RadioGroup2->TabOrder(), 9);
    EXPECT_FALSE(Form1->Button7->Enabled());
}

TEST_F(OptionsPageTest, ValueLabelsInAPointAndInACommaLocale) {
    {
        ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_EQ(DecimalSeparator(), '.');
        CheckDecibelLabels(".");
    }
    {
        ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
        ASSERT_EQ(DecimalSeparator(), ',');
        CheckDecibelLabels(",");
    }

    // The plain numbers know no locale; every position shows itself.
    const std::vector<Bar> bars = Bars();
    for (size_t k = 5; k < 8; ++k)
        for (int p = 0; p <= bars[k].bar->Max(); ++p)
            EXPECT_EQ(LabelAt(bars[k], p), std::to_string(p)) << "TrackBar" << k + 1;
}

TEST_F(OptionsPageTest, LabelsFollowEveryChangeAndPositionsAboveMaxStopAtMax) {
    ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::vector<Bar> bars = Bars();
    // Every position of the dB bars: one decimal, a sign only below zero.
    for (size_t k = 0; k < 5; ++k) {
        for (int p = 1; p <= 31; ++p) {
            const String text = LabelAt(bars[k], p);
            const size_t point = text.find('.');
            ASSERT_NE(point, String::npos) << text;
            EXPECT_EQ(text.substr(point + 2), " dB") << text;
            EXPECT_EQ(text[0] == '-', p < 16) << text;
        }
    }
    // Beyond the top: the bar stays at Max and the label shows Max's value.
    const std::pair<int, String> above[] = {{40, "3.8 dB"}, {99, "7.5 dB"}, {99, "7.5 dB"},
                                            {99, "7.5 dB"}, {99, "7.5 dB"}, {12, "9"},
                                            {6, "5"},       {300, "255"}};
    for (size_t k = 0; k < 8; ++k) {
        bars[k].bar->SetPosition(0);
        bars[k].bar->SetPosition(above[k].first);
        EXPECT_EQ(bars[k].bar->Position(), bars[k].bar->Max());
        EXPECT_EQ(bars[k].value->Caption(), above[k].second) << "TrackBar" << k + 1;
    }
    // Back to 0: "Off" for the dB bars, "0" for the others.
    for (size_t k = 0; k < 8; ++k) {
        bars[k].bar->SetPosition(0);
        EXPECT_EQ(bars[k].value->Caption(), k < 5 ? "Off" : "0");
    }
    // The handlers touch nothing but their own label.
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(Form1->Label6->Caption(), "Gain on");
}
