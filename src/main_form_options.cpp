// The Options page: the eight level track bars, where each one's value
// lives, and the value each shows in the label to its right.
//
// Level Deviation moves in 0.25 dB steps from -3.75 dB, the four other dB
// levels in 0.5 dB steps from -7.5 dB; position 0 is "Off". Volume,
// Squelcher Level and Level analog SQL show their position as it is.
#include "main_form.h"

#include "main_form_messages.h"

namespace {

// hundredths: the level in hundredths of a dB. One decimal, halfway
// rounded away from zero, the user's decimal separator, no sign for
// positive values. Worked in whole numbers so that -3.25 becomes -3.3 and
// never -3.2.
String DecibelText(int hundredths) {
    const bool negative = hundredths < 0;
    const int magnitude = negative ? -hundredths : hundredths;
    const int tenths = (magnitude + 5) / 10;
    String text = negative && tenths != 0 ? "-" : "";
    text += std::to_string(tenths / 10);
    text += DecimalSeparator();
    text += std::to_string(tenths % 10);
    return text + " dB";
}

// 0.25 dB per step, position 16 is 0 dB.
String QuarterStepLevel(int position) {
    if (position == 0) return "Off";
    return DecibelText(position * 25 - 400);
}

// 0.5 dB per step, position 16 is 0 dB.
String HalfStepLevel(int position) {
    if (position == 0) return "Off";
    return DecibelText(position * 50 - 800);
}

}  // namespace

std::array<OptionTrackBar, settings_image::OptionCount> TForm1::OptionTrackBars() const {
    namespace ri = radio_image;
    return {{
        {TrackBar1, ri::DeviationByte, Messages.deviationError},
        {TrackBar2, ri::SpeechByte, Messages.speechError},
        {TrackBar3, ri::GainByte, Messages.gainError},
        {TrackBar4, ri::CtcssTxLevelByte, Messages.ctcssTxLevelError},
        {TrackBar5, ri::CtcssRxLevelByte, Messages.ctcssRxLevelError},
        {TrackBar6, ri::VolumeByte, Messages.volumeError},
        {TrackBar7, ri::SquelchByte, Messages.squelchError},
        {TrackBar8, ri::AnalogSqlByte, Messages.analogSqlError},
    }};
}

void TForm1::TrackBar1Change(TObject*) { Label9->SetCaption(QuarterStepLevel(TrackBar1->Position())); }

void TForm1::TrackBar2Change(TObject*) { Label10->SetCaption(HalfStepLevel(TrackBar2->Position())); }

void TForm1::TrackBar3Change(TObject*) { Label11->SetCaption(HalfStepLevel(TrackBar3->Position())); }

void TForm1::TrackBar4Change(TObject*) { Label12->SetCaption(HalfStepLevel(TrackBar4->Position())); }

void TForm1::TrackBar5Change(TObject*) { Label13->SetCaption(HalfStepLevel(TrackBar5->Position())); }

void TForm1::TrackBar6Change(TObject*) { Label19->SetCaption(std::to_string(TrackBar6->Position())); }

void TForm1::TrackBar7Change(TObject*) { Label20->SetCaption(std::to_string(TrackBar7->Position())); }

void TForm1::TrackBar8Change(TObject*) { Label22->SetCaption(std::to_string(TrackBar8->Position())); }
