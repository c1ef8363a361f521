// The serial calls of the Win32 stand-in on real pseudo-terminals.
#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "link_support.h"

using link_test::AllValuesImage;
using link_test::BareLine;
using link_test::Clock;
using link_test::MsSince;

namespace {

HANDLE OpenCom(int n) {
    const std::string name = "COM" + std::to_string(n);
    return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void SetTimeouts(HANDLE h, DWORD interval, DWORD multiplier, DWORD constant, DWORD wmult = 0, DWORD wconst = 0) {
    COMMTIMEOUTS t{interval, multiplier, constant, wmult, wconst};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
}

class SerialLineTest : public ::testing::Test {
protected:
    void SetUp() override { test_env::ClearComPorts(); }
    void TearDown() override { test_env::ClearComPorts(); }
};

TEST_F(SerialLineTest, EveryByteValuePassesUnchangedOnACookedLine) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    link_test::MakeLineCooked(radio.DevicePath());
    TRadiocomm link;
    link.SetTimeouts(300);
    ASSERT_EQ(link.OpenPort(1, 19200), 0);
    radio.ClearFrames();

    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(link.WriteByte(static_cast<uint32_t>(v), static_cast<BYTE>(v)), 0) << v;
        ASSERT_EQ(link.WriteByte(static_cast<uint32_t>(256 + v), static_cast<BYTE>(255 - v)), 0) << v;
    }
    const std::array<uint8_t, 512> all = AllValuesImage();
    EXPECT_EQ(radio.Memory(), all);
    EXPECT_TRUE(radio.Garbage().empty());
    const std::vector<sim::Frame> writes = radio.Writes();
    ASSERT_EQ(writes.size(), 512u);
    EXPECT_EQ(writes[0x11 * 2].bytes, (std::vector<uint8_t>{0x11, 0x39, 0x03, 0x11, 0x11}));
    EXPECT_EQ(writes[0x0D * 2 + 1].bytes, (std::vector<uint8_t>{0x11, 0x39, 0x13, 0x0D, 0xF2}));

    std::array<uint8_t, 512> reversed;
    for (size_t i = 0; i < 512; ++i) reversed[i] = all[511 - i];
    radio.SetMemory(reversed);
    BYTE* image = link.ReadImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(std::memcmp(image, reversed.data(), 512), 0);
    link.ClosePort();
}

TEST_F(SerialLineTest, ReadRuleTotalAndIntervalLimits) {
    BareLine line(1);
    HANDLE h = OpenCom(1);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    BYTE buf[128];
    DWORD got = 99;

    // Nothing arrives: n x multiplier + constant.
    SetTimeouts(h, 0, 10, 100);
    auto t0 = Clock::now();
    EXPECT_TRUE(ReadFile(h, buf, 5, &got, nullptr));
    EXPECT_EQ(got, 0u);
    EXPECT_GE(MsSince(t0), 150);
    EXPECT_LT(MsSince(t0), 5000);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));

    // n bytes end the read at once.
    SetTimeouts(h, 0, 0, 20000);
    line.Send({0x00, 0x11, 0x13, 0xFF});
    t0 = Clock::now();
    EXPECT_TRUE(ReadFile(h, buf, 4, &got, nullptr));
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + 4), (std::vector<uint8_t>{0x00, 0x11, 0x13, 0xFF}));
    EXPECT_LT(MsSince(t0), 10000);

    // The interval starts only with the first byte...
    SetTimeouts(h, 100, 0, 0);
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        line.Send({1, 2, 3});
    });
    t0 = Clock::now();
    EXPECT_TRUE(ReadFile(h, buf, 10, &got, nullptr));
    double ms = MsSince(t0);
    late.join();
    EXPECT_EQ(got, 3u);
    EXPECT_GE(ms, 390);
    EXPECT_LT(ms, 5000);

    // ...and starts again with every byte: ten bytes 100 ms apart outlast
    // one interval of 500 ms from the first.
    SetTimeouts(h, 500, 0, 0);
    std::thread trickle([&] {
        for (uint8_t b = 1; b <= 10; ++b) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            line.Send({b});
        }
    });
    EXPECT_TRUE(ReadFile(h, buf, 20, &got, nullptr));
    trickle.join();
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(buf[9], 10);

    // The total limit cuts a line that never pauses long enough.
    SetTimeouts(h, 5000, 0, 300);
    std::atomic<bool> stop{false};
    std::thread steady([&] {
        while (!stop) {
            line.Send({0x42});
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
    });
    t0 = Clock::now();
    EXPECT_TRUE(ReadFile(h, buf, 100, &got, nullptr));
    ms = MsSince(t0);
    stop = true;
    steady.join();
    EXPECT_GE(got, 2u);
    EXPECT_LT(got, 100u);
    EXPECT_GE(ms, 300);
    EXPECT_LT(ms, 3000);  // a hundred bytes take 4 s

    // All zero: wait until all n bytes are there.
    PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    SetTimeouts(h, 0, 0, 0);
    std::thread halves([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        line.Send({7, 8});
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        line.Send({9, 10});
    });
    t0 = Clock::now();
    EXPECT_TRUE(ReadFile(h, buf, 4, &got, nullptr));
    ms = MsSince(t0);
    halves.join();
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(buf[3], 10);
    EXPECT_GE(ms, 340);

    // A hang-up ends a read with a failure, not a wait.
    SetTimeouts(h, 0, 0, 0);
    std::thread drop([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        line.CloseMaster();
    });
    t0 = Clock::now();
    EXPECT_FALSE(ReadFile(h, buf, 4, &got, nullptr));
    drop.join();
    EXPECT_LT(MsSince(t0), 5000);
    EXPECT_FALSE(PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR));
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(SerialLineTest, WriteTimeoutAndHangUpWhileHeld) {
    BareLine line(1);
    HANDLE h = OpenCom(1);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const BYTE frame[5] = {0x11, 0x39, 0x03, 0x00, 0x13};
    DWORD sent = 99;

    tcflow(line.SlaveFd(), TCOOFF);  // the line takes no bytes
    SetTimeouts(h, 0, 0, 0, 0, 150);
    auto t0 = Clock::now();
    EXPECT_TRUE(WriteFile(h, frame, 5, &sent, nullptr));
    EXPECT_EQ(sent, 0u);
    EXPECT_GE(MsSince(t0), 150);
    EXPECT_LT(MsSince(t0), 5000);
    SetTimeouts(h, 0, 0, 0, 20, 100);
    t0 = Clock::now();
    EXPECT_TRUE(WriteFile(h, frame, 5, &sent, nullptr));
    EXPECT_GE(MsSince(t0), 200);

    tcflow(line.SlaveFd(), TCOON);
    EXPECT_TRUE(WriteFile(h, frame, 5, &sent, nullptr));
    EXPECT_EQ(sent, 5u);
    EXPECT_EQ(line.Received(5), std::vector<uint8_t>(frame, frame + 5));

    // Held with no time-out, then the line drops: a failure, no SIGPIPE.
    tcflow(line.SlaveFd(), TCOOFF);
    SetTimeouts(h, 0, 0, 0, 0, 0);
    std::thread drop([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        line.CloseMaster();
    });
    t0 = Clock::now();
    EXPECT_FALSE(WriteFile(h, frame, 5, &sent, nullptr));
    drop.join();
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_FAULT));
    EXPECT_LT(MsSince(t0), 5000);
    EXPECT_FALSE(WriteFile(h, frame, 5, &sent, nullptr));
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(SerialLineTest, PortOpensOnceAndOnlyOnADevice) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    HANDLE first = OpenCom(1);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(radio.LineExclusive());
    EXPECT_EQ(OpenCom(1), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    // Another program cannot open it either (root included).
    pid_t child = fork();
    if (child == 0) _exit(OpenCom(1) == INVALID_HANDLE_VALUE ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_TRUE(CloseHandle(first));
    EXPECT_FALSE(radio.LineExclusive());
    EXPECT_FALSE(CloseHandle(first));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    // Held by another process, which ends without closing it.
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    child = fork();
    if (child == 0) {
        HANDLE h = OpenCom(1);
        char c = h == INVALID_HANDLE_VALUE ? 'n' : 'y';
        (void)!write(ready[1], &c, 1);
        (void)!read(release[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    EXPECT_EQ(OpenCom(1), INVALID_HANDLE_VALUE);
    (void)!write(release[1], "x", 1);
    waitpid(child, &status, 0);
    for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
    // A real port's tty ends with its last opener, exclusive mode and all;
    // the pseudo-terminal keeps it while the radio's side is open, so the
    // radio is plugged in again, as after a cable's last opener has gone.
    EXPECT_TRUE(radio.LineExclusive());
    radio.Replug();
    EXPECT_FALSE(radio.LineExclusive());
    HANDLE again = OpenCom(1);
    ASSERT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(radio.LineExclusive());
    SetTimeouts(again, 500, 1, 500, 0, 500);
    const BYTE ping[] = {0x11, 0x39, 0x01};
    DWORD sent = 0, got = 0;
    BYTE reply = 0;
    EXPECT_TRUE(WriteFile(again, ping, 3, &sent, nullptr));
    EXPECT_TRUE(ReadFile(again, &reply, 1, &got, nullptr));
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(reply, 0x01);
    CloseHandle(again);

    // Names that lead to no terminal device.
    EXPECT_EQ(OpenCom(9), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    const std::string dir = test_env::MakeTempDir("serial");
    const std::string file = dir + "/plain";
    std::ofstream(file) << "keep";
    test_env::SetComPort(2, file);
    test_env::SetComPort(3, dir);
    test_env::SetComPort(4, "/dev/null");
    test_env::SetComPort(5, dir + "/missing");
    for (int n = 2; n <= 5; ++n) EXPECT_EQ(OpenCom(n), INVALID_HANDLE_VALUE) << n;
    std::ifstream in(file);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "keep");
    // A COM name only opens an existing device.
    const DWORD otherDisposition = OPEN_EXISTING + 1;
    EXPECT_EQ(CreateFileA("COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, otherDisposition, 0,
                          nullptr),
              INVALID_HANDLE_VALUE);
}

TEST_F(SerialLineTest, CommStateTimeoutsPurgeAndHandleChecks) {
    BareLine line(1);
    link_test::MakeLineCooked(line.Path());
    HANDLE h = OpenCom(1);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);

    // Raw from the moment it opens, whatever the line was left as.
    DCB dcb;
    ASSERT_TRUE(GetCommState(h, &dcb));
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.ByteSize, 8);
    termios t;
    ASSERT_EQ(tcgetattr(line.SlaveFd(), &t), 0);
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_NE(t.c_cflag & CLOCAL, 0u);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);

    for (DWORD rate : {4800u, 9600u, 19200u}) {
        dcb.BaudRate = rate;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        EXPECT_TRUE(SetCommState(h, &dcb));
        DCB read;
        ASSERT_TRUE(GetCommState(h, &read));
        EXPECT_EQ(read.BaudRate, rate);
        EXPECT_EQ(read.ByteSize, 8);
        EXPECT_EQ(read.Parity, NOPARITY);
        EXPECT_EQ(read.StopBits, ONESTOPBIT);
    }
    dcb.BaudRate = 12345;
    EXPECT_FALSE(SetCommState(h, &dcb));
    dcb.BaudRate = 9600;
    dcb.ByteSize = 9;
    EXPECT_FALSE(SetCommState(h, &dcb));
    ASSERT_TRUE(GetCommState(h, &dcb));
    EXPECT_EQ(dcb.BaudRate, 19200u);  // unchanged by the refused calls

    // The purge empties what waits to be read.
    line.Send({1, 2, 3, 4, 5});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR));
    SetTimeouts(h, 0, 0, 100);
    BYTE buf[8];
    DWORD got = 99;
    EXPECT_TRUE(ReadFile(h, buf, 5, &got, nullptr));
    EXPECT_EQ(got, 0u);

    // Serial calls on anything but a live port handle.
    const std::string file = test_env::MakeTempDir("h") + "/f";
    std::ofstream(file).flush();
    HANDLE plain = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(plain, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenCom(1), INVALID_HANDLE_VALUE);  // h holds the port
    COMMTIMEOUTS to{};
    for (HANDLE bad : {HANDLE(nullptr), INVALID_HANDLE_VALUE, plain, HANDLE(&dcb)}) {
        EXPECT_FALSE(GetCommState(bad, &dcb));
        EXPECT_FALSE(SetCommState(bad, &dcb));
        EXPECT_FALSE(SetCommTimeouts(bad, &to));
        EXPECT_FALSE(PurgeComm(bad, PURGE_RXCLEAR | PURGE_TXCLEAR));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    EXPECT_FALSE(ReadFile(nullptr, buf, 1, &got, nullptr));
    EXPECT_FALSE(WriteFile(INVALID_HANDLE_VALUE, buf, 1, &got, nullptr));
    EXPECT_TRUE(CloseHandle(plain));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR));
}

void OnSignal(int) {}

TEST_F(SerialLineTest, SleepLastsThroughSignals) {
    struct sigaction sa {};
    sa.sa_handler = OnSignal;  // no SA_RESTART: nanosleep sees EINTR
    struct sigaction old {};
    sigaction(SIGUSR1, &sa, &old);
    const pthread_t self = pthread_self();
    std::thread poke([self] {
        for (int i = 0; i < 3; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            pthread_kill(self, SIGUSR1);
        }
    });
    const auto t0 = Clock::now();
    Sleep(250);
    const double ms = MsSince(t0);
    poke.join();
    sigaction(SIGUSR1, &old, nullptr);
    EXPECT_GE(ms, 250);
    EXPECT_LT(ms, 5000);
}

}  // namespace
