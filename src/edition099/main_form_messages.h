// Where the earlier edition's message lists hold their texts: the main
// form's ListBox1 and the frequency dialog's. The main window checks every
// position of its list when it is created.
#pragma once

#include "FreqInput.h"
#include "main_form_base.h"

// The main form's list: the texts the shared window shows, then this
// edition's own.
struct Form1Messages {
    MainFormMessages shared;
    // "Working Range:" and the range texts of ranges 0 to 3, each ending
    // in " MHz"; the range byte that names no range.
    int workingRange, rangeText[4], rangeByteError;
    // The warning box after a Read erased channels outside the range
    int badFrequencies, warning;
};

inline constexpr Form1Messages Messages = {
    .shared = {
        .hz = 0,
        .disconnect = 1, .connected = 2, .alreadyOpen = 3, .openError = 4, .configError = 5,
        .portWriteError = 6, .deviceError = 7, .connection = 8, .broken = 9,
        .reading = 10, .readDone = 11, .readError = 20, .readingInfo = 30,
        .writingChannels = 21, .noConnection = 22, .writeError = 23, .tailChannels = 24,
        .tailCtcssRx = 25, .tailCtcssTx = 26, .channelsDone = 27,
        .inputFrequency = 32, .ofReceive = 34, .ofTransmit = 35, .channelNumber = 33,
        .fileWithSettings = 36, .loadedOk = 37, .loadFailed = 38, .fileOpenError = 39,
        .warningCaption = 18, .warningCaps = 19, .existsRewrite = 40, .rewrittenOk = 41,
        .rewriteFailed = 42, .createdOk = 43, .createFailed = 44, .rewriteQuestion = 45,
        .fileWriteError = 46, .fileReadError = 47,
    },
    .workingRange = 12, .rangeText = {13, 14, 15, 48}, .rangeByteError = 31,
    .badFrequencies = 17, .warning = 18,
};

// The frequency dialog's list.
inline constexpr FreqInputMessages FreqMessages = {.error = 5, .mhz = 0, .mustBe = 1, .more = 2, .less = 3, .step = 4};
