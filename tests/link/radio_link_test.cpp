// TRadiocomm against the simulated radio, through a real pseudo-terminal.
#include <gtest/gtest.h>

#include <cstring>

#include "link_support.h"

using link_test::AllValuesImage;
using link_test::Clock;
using link_test::MsSince;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
    std::vector<uint8_t> v;
    for (int b : list) v.push_back(static_cast<uint8_t>(b));
    return v;
}

class RadioLinkTest : public ::testing::Test {
protected:
    void SetUp() override { test_env::ClearComPorts(); }
    void TearDown() override { test_env::ClearComPorts(); }
};

TEST_F(RadioLinkTest, ClosedLinkTouchesNoPort) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    TRadiocomm link;
    EXPECT_EQ(link.PortHandle(), nullptr);
    const COMMTIMEOUTS& t = link.Timeouts();
    EXPECT_EQ(t.ReadIntervalTimeout, 500u);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 1u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 500u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 500u);

    const auto t0 = Clock::now();
    EXPECT_EQ(link.ReadImage(), nullptr);
    EXPECT_EQ(link.WriteByte(0, 1), -1);
    EXPECT_EQ(link.ResetDevice(), -1);  // no pause either
    link.ClosePort();
    link.SetTimeouts(200);
    EXPECT_LT(MsSince(t0), 1500);  // the reset's pause is 2 s
    EXPECT_EQ(link.PortHandle(), nullptr);
    EXPECT_EQ(link.Timeouts().ReadIntervalTimeout, 200u);
    EXPECT_EQ(link.Timeouts().ReadTotalTimeoutConstant, 200u);
    EXPECT_EQ(link.Timeouts().WriteTotalTimeoutConstant, 200u);
    EXPECT_FALSE(radio.WaitForFrames(1, 100));
    EXPECT_FALSE(radio.LineExclusive());
}

TEST_F(RadioLinkTest, OpenPortCodes) {
    TRadiocomm link;
    // No device, and a link that points nowhere.
    EXPECT_EQ(link.OpenPort(7, 4800), 1);
    EXPECT_EQ(link.PortHandle(), nullptr);
    test_env::SetComPort(2, "/nonexistent/ttyUSB9");
    EXPECT_EQ(link.OpenPort(2, 4800), 1);
    EXPECT_EQ(link.PortHandle(), nullptr);

    sim::RadioSim radio;
    radio.InstallAsCom(1);
    EXPECT_EQ(link.OpenPort(1, 9600), 0);
    HANDLE open = link.PortHandle();
    EXPECT_NE(open, nullptr);
    EXPECT_NE(open, INVALID_HANDLE_VALUE);
    EXPECT_EQ(radio.LineBaud(), 9600);
    EXPECT_TRUE(radio.LineExclusive());
    EXPECT_EQ(link.CommState().BaudRate, 9600u);
    EXPECT_EQ(link.CommState().ByteSize, 8);
    EXPECT_EQ(link.CommState().Parity, NOPARITY);
    EXPECT_EQ(link.CommState().StopBits, ONESTOPBIT);
    EXPECT_NE(link.SetStateResult(), 0);
    EXPECT_EQ(link.BytesWritten(), 3u);
    EXPECT_EQ(link.BytesRead(), 1u);
    ASSERT_EQ(radio.Frames().size(), 1u);
    EXPECT_EQ(radio.Frames()[0].bytes, Bytes({0x11, 0x39, 0x01}));

    // Already open: nothing changes and nothing is sent.
    EXPECT_EQ(link.OpenPort(1, 19200), -1);
    EXPECT_EQ(link.PortHandle(), open);
    EXPECT_EQ(radio.LineBaud(), 9600);
    EXPECT_FALSE(radio.WaitForFrames(2, 100));

    link.ClosePort();
    EXPECT_EQ(link.PortHandle(), nullptr);
    EXPECT_FALSE(radio.LineExclusive());
    link.ClosePort();  // no effect
    EXPECT_EQ(link.CommState().BaudRate, 9600u);  // kept from the last open

    // A rate the line cannot take: the port stays open, no ping goes out.
    radio.ClearFrames();
    EXPECT_EQ(link.OpenPort(1, 12345), 2);
    EXPECT_NE(link.PortHandle(), nullptr);
    EXPECT_EQ(link.SetStateResult(), 0);
    EXPECT_FALSE(radio.WaitForFrames(1, 100));
    link.ClosePort();
    EXPECT_EQ(link.OpenPort(1, -4800), 2);
    link.ClosePort();

    // A wrong ping answer.
    sim::Faults wrong;
    wrong.pingReply = 0x02;
    radio.SetFaults(wrong);
    EXPECT_EQ(link.OpenPort(1, 4800), 4);
    EXPECT_NE(link.PortHandle(), nullptr);
    EXPECT_EQ(link.BytesRead(), 1u);
    link.ClosePort();
    radio.SetFaults(sim::Faults{});

    // Held by another opener: does not open, and the holder keeps it.
    HANDLE other = CreateFileA("COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(link.OpenPort(1, 4800), 1);
    EXPECT_EQ(link.PortHandle(), nullptr);
    EXPECT_TRUE(radio.LineExclusive());
    EXPECT_TRUE(CloseHandle(other));
    EXPECT_EQ(link.OpenPort(1, 19200), 0);
    EXPECT_EQ(radio.LineBaud(), 19200);
    link.ClosePort();
}

TEST_F(RadioLinkTest, SilentRadioTimeoutsAndSetTimeouts) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    sim::Faults silent;
    silent.silent = true;
    radio.SetFaults(silent);
    TRadiocomm link;

    auto t0 = Clock::now();
    EXPECT_EQ(link.OpenPort(1, 4800), 4);
    double ms = MsSince(t0);
    EXPECT_GE(ms, 500);
    EXPECT_LT(ms, 5000);
    EXPECT_NE(link.PortHandle(), nullptr);  // stays open until ClosePort
    EXPECT_EQ(link.BytesRead(), 0u);
    EXPECT_EQ(radio.CountFrames(&sim::Frame::IsPing), 1);

    // Applied at once while open: longer than the 500 ms before.
    link.SetTimeouts(900);
    t0 = Clock::now();
    EXPECT_EQ(link.WriteByte(0, 5), 2);
    ms = MsSince(t0);
    EXPECT_GE(ms, 900);
    EXPECT_LT(ms, 5000);
    t0 = Clock::now();
    EXPECT_EQ(link.ReadImage(), nullptr);
    ms = MsSince(t0);
    EXPECT_GE(ms, 512 + 900);
    EXPECT_LT(ms, 6000);
    link.ClosePort();

    // Set while closed: the next open applies it.
    link.SetTimeouts(1300);
    t0 = Clock::now();
    EXPECT_EQ(link.OpenPort(1, 4800), 4);
    ms = MsSince(t0);
    EXPECT_GE(ms, 1300);
    EXPECT_LT(ms, 6000);
    link.ClosePort();
}

TEST_F(RadioLinkTest, ReadImage) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    std::array<uint8_t, 512> memory = AllValuesImage();
    radio.SetMemory(memory);
    TRadiocomm link;
    link.SetTimeouts(5000);
    ASSERT_EQ(link.OpenPort(1, 4800), 0);

    BYTE* image = link.ReadImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(std::memcmp(image, memory.data(), 512), 0);
    EXPECT_EQ(link.BytesRead(), 512u);
    EXPECT_EQ(link.BytesWritten(), 3u);
    EXPECT_EQ(radio.Frames().back().bytes, Bytes({0x11, 0x39, 0x02}));
    EXPECT_TRUE(radio.Garbage().empty());

    // The echo of a write lands in the first byte of the same buffer.
    EXPECT_EQ(link.WriteByte(3, 0x42), 0);
    EXPECT_EQ(image[0], 0x42);
    memory[3] = 0x42;

    // 511 bytes are not an image; they sit at the start of the buffer.
    link.SetTimeouts(200);
    sim::Faults shortImage;
    shortImage.shortImage = true;
    radio.SetFaults(shortImage);
    const auto t0 = Clock::now();
    EXPECT_EQ(link.ReadImage(), nullptr);
    EXPECT_LT(MsSince(t0), 3000);  // T, not the 5 s before
    EXPECT_EQ(link.BytesRead(), 511u);
    EXPECT_EQ(std::memcmp(image, memory.data(), 511), 0);

    radio.SetFaults(sim::Faults{});
    image = link.ReadImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(std::memcmp(image, memory.data(), 512), 0);
    link.ClosePort();
}

TEST_F(RadioLinkTest, WriteByteFramesAndEchoes) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    TRadiocomm link;
    link.SetTimeouts(200);
    ASSERT_EQ(link.OpenPort(1, 4800), 0);
    radio.ClearFrames();

    struct Case {
        uint32_t address;
        BYTE value;
        std::vector<uint8_t> frame;
    } cases[] = {
        {0, 0x5A, Bytes({0x11, 0x39, 0x03, 0x00, 0x5A})},
        {255, 0x11, Bytes({0x11, 0x39, 0x03, 0xFF, 0x11})},
        {256, 0x13, Bytes({0x11, 0x39, 0x13, 0x00, 0x13})},
        {511, 0xA5, Bytes({0x11, 0x39, 0x13, 0xFF, 0xA5})},
        {100, 0x00, Bytes({0x11, 0x39, 0x03, 0x64, 0x00})},  // a zero value is sent too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(link.WriteByte(c.address, c.value), 0);
        EXPECT_EQ(link.BytesWritten(), 5u);
        EXPECT_EQ(link.BytesRead(), 1u);
        EXPECT_EQ(radio.Frames().back().bytes, c.frame);
        EXPECT_EQ(radio.Byte(static_cast<int>(c.address)), c.value);
    }
    const size_t sent = radio.Frames().size();

    // Beyond the memory: no I/O at all.
    EXPECT_EQ(link.WriteByte(512, 1), -1);
    EXPECT_EQ(link.WriteByte(0xFFFFFFFFu, 1), -1);
    EXPECT_FALSE(radio.WaitForFrames(sent + 1, 100));

    sim::Faults faults;
    faults.wrongEchoAt = {300, 101};
    faults.noEchoAt = {301};
    faults.refuseAt = {302};
    radio.SetFaults(faults);
    EXPECT_EQ(link.WriteByte(300, 0x77), 2);
    EXPECT_EQ(link.WriteByte(101, 0x00), 2);  // 0x00 succeeds only on an echo of 0x00
    EXPECT_EQ(radio.Byte(101), 0x00);
    auto t0 = Clock::now();
    EXPECT_EQ(link.WriteByte(301, 0x66), 2);
    EXPECT_GE(MsSince(t0), 200);
    EXPECT_EQ(link.BytesRead(), 0u);
    EXPECT_EQ(radio.Byte(301), 0x66);
    EXPECT_EQ(link.WriteByte(302, 0x55), 2);
    EXPECT_EQ(radio.Byte(302), 0xFF);
    // The link stays usable after failures.
    EXPECT_EQ(link.WriteByte(303, 0x44), 0);
    link.ClosePort();
}

TEST_F(RadioLinkTest, StrayBytesAreDiscardedBeforeEachExchange) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    std::array<uint8_t, 512> memory = AllValuesImage();
    radio.SetMemory(memory);
    sim::Faults extra;
    extra.extraReplyBytes = 3;  // 0xEE 0xEE 0xEE after every reply
    radio.SetFaults(extra);
    TRadiocomm link;
    link.SetTimeouts(1000);
    ASSERT_EQ(link.OpenPort(1, 4800), 0);
    EXPECT_EQ(link.WriteByte(10, 0x55), 0);
    EXPECT_EQ(link.WriteByte(11, 0x56), 0);
    memory[10] = 0x55;
    memory[11] = 0x56;
    BYTE* image = link.ReadImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(std::memcmp(image, memory.data(), 512), 0);
    EXPECT_EQ(link.WriteByte(12, 0x00), 0);
    EXPECT_TRUE(radio.Garbage().empty());
    link.ClosePort();
}

TEST_F(RadioLinkTest, ResetDeviceSendsFourBytesAndPauses) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    TRadiocomm link;
    ASSERT_EQ(link.OpenPort(1, 4800), 0);
    radio.ClearFrames();
    const auto t0 = Clock::now();
    EXPECT_EQ(link.ResetDevice(), 0);
    const double ms = MsSince(t0);
    EXPECT_GE(ms, 2000);
    EXPECT_LT(ms, 6000);
    EXPECT_EQ(link.BytesWritten(), 4u);
    ASSERT_EQ(radio.Frames().size(), 1u);
    EXPECT_EQ(radio.Frames()[0].bytes, Bytes({0x11, 0x39, 0x04, 0x00}));
    EXPECT_TRUE(radio.Garbage().empty());
    // The radio still answers afterwards.
    EXPECT_EQ(link.WriteByte(1, 2), 0);
    link.ClosePort();
}

TEST_F(RadioLinkTest, HeldOutputTimesOutAsAPartialWrite) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    TRadiocomm link;
    link.SetTimeouts(200);
    ASSERT_EQ(link.OpenPort(1, 4800), 0);
    sim::Faults held;
    held.holdLine = true;
    radio.SetFaults(held);

    // The write gives up after T with nothing sent: not a failed call, so
    // the reset reports the short count at once, without its pause.
    auto t0 = Clock::now();
    EXPECT_EQ(link.ResetDevice(), -1);
    double ms = MsSince(t0);
    EXPECT_GE(ms, 200);
    EXPECT_LT(ms, 2000);
    EXPECT_EQ(link.BytesWritten(), 0u);
    EXPECT_NE(link.LastResult(), 0);

    t0 = Clock::now();
    EXPECT_EQ(link.WriteByte(5, 5), 2);  // no frame reached the radio, so no echo
    ms = MsSince(t0);
    EXPECT_GE(ms, 400);
    EXPECT_LT(ms, 4000);

    radio.SetFaults(sim::Faults{});
    EXPECT_EQ(link.WriteByte(5, 5), 0);
    link.ClosePort();
}

// Each scenario runs in a child process that is a session leader without a
// controlling terminal: if the port were opened as the controlling
// terminal, the hang-up would kill the child with SIGHUP. The result is a
// bit mask of the checks that failed (0 = all passed).
int HangUpDuringRead() {
    int failed = 0;
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    sim::Faults f;
    f.hangUpAfterFrames = 2;  // answers the ping, hangs up on the read
    radio.SetFaults(f);
    TRadiocomm link;
    link.SetTimeouts(5000);
    if (link.OpenPort(1, 4800) != 0) failed |= 1;
    auto t0 = Clock::now();
    if (link.ReadImage() != nullptr) failed |= 2;
    if (MsSince(t0) > 3000) failed |= 4;  // well before 512 + T
    t0 = Clock::now();
    if (link.WriteByte(1, 1) != 3) failed |= 8;  // the purge fails on a dead line
    if (link.ResetDevice() != -1) failed |= 16;
    if (link.ReadImage() != nullptr) failed |= 32;
    if (MsSince(t0) > 3000) failed |= 64;
    link.ClosePort();
    if (link.PortHandle() != nullptr) failed |= 128;
    return failed;
}

int HangUpDuringWriteEcho() {
    int failed = 0;
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    sim::Faults f;
    f.hangUpAfterFrames = 3;
    radio.SetFaults(f);
    TRadiocomm link;
    link.SetTimeouts(5000);
    if (link.OpenPort(1, 4800) != 0) failed |= 1;
    if (link.WriteByte(7, 7) != 0) failed |= 2;
    auto t0 = Clock::now();
    if (link.WriteByte(8, 8) != 2) failed |= 4;  // hung up instead of echoing
    if (MsSince(t0) > 3000) failed |= 8;
    link.ClosePort();
    return failed;
}

int HangUpWhileSending() {
    int failed = 0;
    {
        // Output held, then the line drops before the ping is out.
        sim::RadioSim radio;
        radio.InstallAsCom(1);
        sim::Faults f;
        f.holdLine = true;
        f.hangUpAfterMs = 300;
        radio.SetFaults(f);
        TRadiocomm link;
        link.SetTimeouts(5000);
        auto t0 = Clock::now();
        if (link.OpenPort(1, 4800) != 3) failed |= 1;
        if (MsSince(t0) > 3000) failed |= 2;
        if (link.PortHandle() == nullptr) failed |= 4;
        link.ClosePort();
    }
    {
        sim::RadioSim radio;
        radio.InstallAsCom(2);
        TRadiocomm link;
        link.SetTimeouts(5000);
        if (link.OpenPort(2, 4800) != 0) failed |= 8;
        sim::Faults f;
        f.holdLine = true;
        f.hangUpAfterMs = 300;
        radio.SetFaults(f);
        auto t0 = Clock::now();
        if (link.WriteByte(9, 9) != 1) failed |= 16;
        if (MsSince(t0) > 3000) failed |= 32;
        link.ClosePort();
    }
    return failed;
}

[[noreturn]] void RunDetached(int (*scenario)()) {
    setsid();
    const int failed = scenario();
    std::exit(failed);
}

TEST_F(RadioLinkTest, HangUpMidExchangeFailsWithoutSignalOrLongWait) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(RunDetached(HangUpDuringRead), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(RunDetached(HangUpDuringWriteEcho), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(RunDetached(HangUpWhileSending), ::testing::ExitedWithCode(0), "");
}

}  // namespace
