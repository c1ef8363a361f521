// The serial link to the radio and the scan of the first serial ports.
#pragma once

#include <cstdint>
#include <vector>

#include "RadioImage.h"
#include "platform/win32/win32.h"

class TRadiocomm {
public:
    TRadiocomm();

    void SetTimeouts(int32_t T);
    // -1 already open; 0 open and the radio answered the ping; 1 opening the
    // port failed; 2 applying the settings failed; 3 sending the ping failed;
    // 4 no valid ping reply. From 2 on the port stays open.
    int32_t OpenPort(int32_t port, int32_t rate);
    void ClosePort();
    // The 512-byte image, valid until the next exchange, or nullptr.
    BYTE* ReadImage();
    // -1 closed or address above 511; 0 written and echoed; 1 sending failed;
    // 2 no echo or a wrong echo; 3 purge failed.
    int32_t WriteByte(uint32_t address, BYTE value);
    // 0 sent (after the 2000 ms pause); -1 otherwise.
    int32_t ResetDevice();

    // Inspection only (tests).
    HANDLE PortHandle() const { return FPortHandle; }
    const COMMTIMEOUTS& Timeouts() const { return FTimeouts; }
    const DCB& CommState() const { return FCommState; }
    int32_t SetStateResult() const { return FSetStateResult; }
    DWORD BytesWritten() const { return FBytesWritten; }
    DWORD BytesRead() const { return FBytesRead; }
    int32_t LastResult() const { return FLastResult; }

private:
    DCB FCommState;
    HANDLE FPortHandle;
    int32_t FSetStateResult;
    COMMTIMEOUTS FTimeouts;
    DWORD FBytesWritten;
    DWORD FBytesRead;
    int32_t FLastResult;
    BYTE FImage[radio_image::ImageSize];
    BYTE FTxFrame[8];
};

struct PortScanEntry {
    int32_t Port;
    int32_t Status;  // 0 a radio answered the ping, 4 it did not
};

// The caller owns the list and its entries.
using PortScanList = std::vector<PortScanEntry*>;

// Probes COM1..COMcount at 4800 baud; nullptr when count is not 1 to 10.
PortScanList* ScanPorts(int32_t count);
