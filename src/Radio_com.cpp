#include "Radio_com.h"

#include <cstdio>

namespace {

// Every frame starts with these two bytes, then the command byte.
constexpr BYTE FrameStart0 = 0x11;
constexpr BYTE FrameStart1 = 0x39;
constexpr BYTE CmdPing = 0x01;
constexpr BYTE CmdRead = 0x02;
constexpr BYTE CmdWriteLow = 0x03;   // addresses 0-255
constexpr BYTE CmdWriteHigh = 0x13;  // addresses 256-511
constexpr BYTE CmdReset = 0x04;
constexpr BYTE PingAnswer = 0x01;
constexpr uint32_t HighestAddress = 0x1FF;
constexpr DWORD PurgeBoth = PURGE_TXCLEAR | PURGE_RXCLEAR;  // 0x0C
constexpr DWORD ResetPauseMs = 2000;

// A read of n bytes gives up after n + T ms, or when no byte follows the
// previous one within T ms; a write gives up after T ms.
COMMTIMEOUTS TimeoutsFor(int32_t T) {
    const DWORD t = static_cast<DWORD>(T);
    return COMMTIMEOUTS{t, 1, t, 0, t};
}

HANDLE OpenComPort(int32_t port) {
    char name[16];
    std::snprintf(name, sizeof name, "COM%d", static_cast<int>(port));
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool IsOpen(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }

}  // namespace

TRadiocomm::TRadiocomm()
    : FPortHandle(nullptr), FSetStateResult(0), FTimeouts(TimeoutsFor(500)), FBytesWritten(0),
      FBytesRead(0), FLastResult(0) {}

void TRadiocomm::SetTimeouts(int32_t T) {
    FTimeouts = TimeoutsFor(T);
    if (FPortHandle) SetCommTimeouts(FPortHandle, &FTimeouts);
}

int32_t TRadiocomm::OpenPort(int32_t port, int32_t rate) {
    if (FPortHandle) return -1;

    HANDLE h = OpenComPort(port);
    if (!IsOpen(h)) {
        FPortHandle = nullptr;
        return 1;
    }
    FPortHandle = h;

    FCommState.BaudRate = static_cast<DWORD>(rate);
    FCommState.ByteSize = 8;
    FCommState.Parity = NOPARITY;
    FCommState.StopBits = ONESTOPBIT;
    FSetStateResult = SetCommState(FPortHandle, &FCommState);
    if (!FSetStateResult) return 2;

    SetCommTimeouts(FPortHandle, &FTimeouts);
    PurgeComm(FPortHandle, PurgeBoth);

    BYTE frame[4] = {FrameStart0, FrameStart1, CmdPing, 0};
    FLastResult = WriteFile(FPortHandle, frame, 3, &FBytesWritten, nullptr);
    if (!FLastResult) return 3;

    FLastResult = ReadFile(FPortHandle, frame, 1, &FBytesRead, nullptr);
    if (FLastResult && FBytesRead == 1 && frame[0] == PingAnswer) return 0;
    return 4;
}

void TRadiocomm::ClosePort() {
    if (!FPortHandle) return;
    CloseHandle(FPortHandle);
    FPortHandle = nullptr;
}

BYTE* TRadiocomm::ReadImage() {
    if (!FPortHandle) return nullptr;
    if (!PurgeComm(FPortHandle, PurgeBoth)) return nullptr;

    FTxFrame[0] = FrameStart0;
    FTxFrame[1] = FrameStart1;
    FTxFrame[2] = CmdRead;
    FTxFrame[3] = 0;
    FLastResult = WriteFile(FPortHandle, FTxFrame, 3, &FBytesWritten, nullptr);
    if (!FLastResult) return nullptr;

    FLastResult = ReadFile(FPortHandle, FImage, radio_image::ImageSize, &FBytesRead, nullptr);
    if (FLastResult && FBytesRead == radio_image::ImageSize) return FImage;
    return nullptr;
}

int32_t TRadiocomm::WriteByte(uint32_t address, BYTE value) {
    if (!FPortHandle || address > HighestAddress) return -1;
    if (!PurgeComm(FPortHandle, PurgeBoth)) return 3;

    FTxFrame[0] = FrameStart0;
    FTxFrame[1] = FrameStart1;
    FTxFrame[2] = (address & 0x100) ? CmdWriteHigh : CmdWriteLow;
    FTxFrame[3] = static_cast<BYTE>(address & 0xFF);
    FTxFrame[4] = value;
    FTxFrame[5] = 0;
    FLastResult = WriteFile(FPortHandle, FTxFrame, 5, &FBytesWritten, nullptr);
    if (!FLastResult) return 1;

    FLastResult = ReadFile(FPortHandle, FImage, 1, &FBytesRead, nullptr);
    if (FLastResult && FBytesRead == 1 && FImage[0] == value) return 0;
    return 2;
}

int32_t TRadiocomm::ResetDevice() {
    if (!FPortHandle) return -1;
    if (!PurgeComm(FPortHandle, PurgeBoth)) return -1;

    // Four bytes on the line: the command and a zero byte.
    FTxFrame[0] = FrameStart0;
    FTxFrame[1] = FrameStart1;
    FTxFrame[2] = CmdReset;
    FTxFrame[3] = 0x00;
    FLastResult = WriteFile(FPortHandle, FTxFrame, 4, &FBytesWritten, nullptr);
    if (FLastResult && FBytesWritten == 4) {
        Sleep(ResetPauseMs);
        return 0;
    }
    return -1;
}

PortScanList* ScanPorts(int32_t count) {
    if (count < 1 || count > 10) return nullptr;

    auto* list = new PortScanList;
    for (int32_t n = 1; n <= count; ++n) {
        HANDLE h = OpenComPort(n);
        if (!IsOpen(h)) continue;

        auto* entry = new PortScanEntry{n, 4};

        // A failure of any of these still leaves the reply to decide.
        DCB state;
        GetCommState(h, &state);
        state.BaudRate = CBR_4800;
        state.ByteSize = 8;
        state.Parity = NOPARITY;
        state.StopBits = ONESTOPBIT;
        SetCommState(h, &state);
        COMMTIMEOUTS timeouts = TimeoutsFor(1000);
        SetCommTimeouts(h, &timeouts);
        PurgeComm(h, PurgeBoth);

        BYTE frame[4] = {FrameStart0, FrameStart1, CmdPing, 0};
        DWORD written = 0;
        WriteFile(h, frame, 3, &written, nullptr);

        DWORD got = 0;
        BOOL ok = ReadFile(h, frame, 1, &got, nullptr);
        entry->Status = (ok && got == 1 && frame[0] == PingAnswer) ? 0 : 4;

        list->push_back(entry);
        CloseHandle(h);
    }
    return list;
}
