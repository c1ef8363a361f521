// Where the full edition's message lists hold their texts: the main form's
// ListBox1 and the frequency dialog's. The main window checks every
// position of its list when it is created.
#pragma once

#include "FreqInput.h"
#include "main_form_base.h"

// The main form's list: the texts the shared window shows, then this
// edition's own.
struct Form1Messages {
    MainFormMessages shared;
    // The range caption: "Working Range:", the range texts of ranges 0
    // to 3, "MHz"; the range byte or selection that names no range.
    int workingRange, rangeText[4], mhz, rangeError;
    // Writing the range and the options, and the reset frame
    int rangeWriteError, writingOptions, optionsDone, resetSent, resetError;
    // A failed write of one option byte
    int volumeError, squelchError, deviationError, speechError, gainError, ctcssTxLevelError,
        ctcssRxLevelError, analogSqlError;
};

inline constexpr Form1Messages Messages = {
    .shared = {
        .hz = 5,
        .disconnect = 8, .connected = 9, .alreadyOpen = 10, .openError = 11, .configError = 12,
        .portWriteError = 13, .deviceError = 14, .connection = 15, .broken = 16,
        .reading = 17, .readDone = 18, .readError = 19, .readingInfo = 40,
        .writingChannels = 20, .noConnection = 21, .writeError = 22, .tailChannels = 23,
        .tailCtcssRx = 24, .tailCtcssTx = 25, .channelsDone = 27,
        .inputFrequency = 41, .ofReceive = 42, .ofTransmit = 43, .channelNumber = 44,
        .fileWithSettings = 45, .loadedOk = 46, .loadFailed = 47, .fileOpenError = 48,
        .warningCaption = 49, .warningCaps = 50, .existsRewrite = 52, .rewrittenOk = 53,
        .rewriteFailed = 54, .createdOk = 55, .createFailed = 56, .rewriteQuestion = 57,
        .fileWriteError = 58, .fileReadError = 59,
    },
    .workingRange = 0, .rangeText = {1, 2, 3, 60}, .mhz = 4, .rangeError = 6,
    .rangeWriteError = 26, .writingOptions = 28, .optionsDone = 37, .resetSent = 38, .resetError = 39,
    .volumeError = 29, .squelchError = 30, .deviationError = 31, .speechError = 32, .gainError = 33,
    .ctcssTxLevelError = 34, .ctcssRxLevelError = 35, .analogSqlError = 36,
};

// The frequency dialog's list.
inline constexpr FreqInputMessages FreqMessages = {.error = 0, .mhz = 1, .mustBe = 2, .more = 3, .less = 4, .step = 5};
