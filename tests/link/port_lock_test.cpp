// Serial port lock files: the convention minicom, picocom and lockdev keep,
// in a lock folder of the test's own.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "link_support.h"
#include "platform/win32/port_lock.h"

using link_test::FreeScan;

namespace fs = std::filesystem;

namespace {

HANDLE OpenCom(int n) {
    const std::string name = "COM" + std::to_string(n);
    return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string LockText(pid_t pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
    return text;
}

// A process of another serial program: it has taken the lock file and
// opened the line the plain way, with no flock and no TIOCEXCL, and keeps
// both until it is killed.
pid_t StartLockingProgram(const std::string& lockFile, const std::string& device) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    pid_t child = fork();
    if (child == 0) {
        const std::string text = LockText(getpid());
        int lock = open(lockFile.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        int line = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        const bool ok = lock >= 0 && line >= 0 &&
                        write(lock, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        (void)!write(ready[1], ok ? "y" : "n", 1);
        for (;;) pause();
    }
    char c = 'n';
    (void)!read(ready[0], &c, 1);
    close(ready[0]);
    close(ready[1]);
    return c == 'y' ? child : -1;
}

void Stop(pid_t child) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// The id of a process that has ended.
pid_t DeadPid() {
    pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

class PortLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_env::ClearComPorts();
        folder = test_env::MakeTempDir("lock");
        port_lock::SetFolder(folder);
        radio.InstallAsCom(1);
        lockFile = folder + "/LCK.." + fs::path(radio.DevicePath()).filename().string();
    }
    void TearDown() override {
        test_env::ClearComPorts();
        port_lock::SetFolder(test_env::MakeTempDir("lock"));
    }

    // COM1 is held by someone else: it does not open, the scan lists no
    // entry for it and the link refuses it, as for any port in use.
    void ExpectHeld() {
        EXPECT_EQ(OpenCom(1), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        PortScanList* scan = ScanPorts(1);
        ASSERT_NE(scan, nullptr);
        EXPECT_TRUE(scan->empty());
        FreeScan(scan);
        TRadiocomm link;
        EXPECT_EQ(link.OpenPort(1, 4800), 1);
        EXPECT_EQ(link.PortHandle(), nullptr);
    }
    // The scan probes COM1, finds the radio and leaves no lock behind.
    void ExpectScannedFree() {
        PortScanList* scan = ScanPorts(1);
        ASSERT_NE(scan, nullptr);
        ASSERT_EQ(scan->size(), 1u);
        EXPECT_EQ(scan->front()->Status, 0);
        FreeScan(scan);
        EXPECT_FALSE(fs::exists(lockFile));
    }

    std::string folder;
    std::string lockFile;
    sim::RadioSim radio;
};

TEST_F(PortLockTest, OpenTakesTheLockAndCloseRemovesIt) {
    // COM1 is a link in the ports folder; the lock is named after the
    // device itself, as the other programs name it.
    HANDLE h = OpenCom(1);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadText(lockFile), LockText(getpid()));
    EXPECT_EQ(ReadText(lockFile).size(), 11u);

    // A second opener in this program is refused and leaves the lock alone.
    EXPECT_EQ(OpenCom(1), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    TRadiocomm link;
    EXPECT_EQ(link.OpenPort(1, 4800), 1);
    EXPECT_EQ(ReadText(lockFile), LockText(getpid()));

    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(fs::exists(lockFile));

    // The link object takes and gives it back the same way.
    EXPECT_EQ(link.OpenPort(1, 9600), 0);
    EXPECT_EQ(ReadText(lockFile), LockText(getpid()));
    link.ClosePort();
    EXPECT_FALSE(fs::exists(lockFile));
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(PortLockTest, PortLockedByALiveProgramIsHeld) {
    const pid_t other = StartLockingProgram(lockFile, radio.DevicePath());
    ASSERT_GT(other, 0);

    ExpectHeld();
    EXPECT_EQ(radio.CountFrames(&sim::Frame::IsPing), 0);  // never pinged
    TRadiocomm link;
    EXPECT_EQ(ReadText(lockFile), LockText(other));

    // Once that program is gone its lock is stale, and the port is ours.
    Stop(other);
    EXPECT_EQ(link.OpenPort(1, 4800), 0);
    EXPECT_EQ(ReadText(lockFile), LockText(getpid()));
    link.ClosePort();
    EXPECT_FALSE(fs::exists(lockFile));
}

TEST_F(PortLockTest, StaleAndUnreadableLocks) {
    // Stale: cleared, and the scan probes the port.
    const pid_t dead = DeadPid();
    std::ofstream(lockFile) << LockText(dead);
    ExpectScannedFree();

    // A live process holds the port, however its number is spaced.
    std::ofstream(lockFile) << getppid() << "\n";
    EXPECT_EQ(OpenCom(1), INVALID_HANDLE_VALUE);

    // A lock just made that names no process may be one being written:
    // left alone.
    for (const char* text : {"", "   \n", "pid 12\n"}) {
        std::ofstream(lockFile, std::ios::trunc) << text;
        EXPECT_EQ(OpenCom(1), INVALID_HANDLE_VALUE) << '"' << text << '"';
        EXPECT_EQ(ReadText(lockFile), text);
    }
    fs::remove(lockFile);
}

TEST_F(PortLockTest, LockWithOurOwnNumberIsStaleUnlessWeHoldThePort) {
    // Left by an earlier process that had this process's number (a
    // restarted container): the scan and the link take the port.
    const std::string ours = LockText(getpid());
    std::ofstream(lockFile) << ours;
    ExpectScannedFree();
    std::ofstream(lockFile) << ours;
    TRadiocomm link;
    EXPECT_EQ(link.OpenPort(1, 4800), 0);
    EXPECT_EQ(ReadText(lockFile), ours);

    // Now the lock is really ours: any other opener is refused before it
    // touches the line, and the lock stays.
    ExpectHeld();
    EXPECT_EQ(ReadText(lockFile), ours);
    EXPECT_EQ(radio.CountFrames(&sim::Frame::IsPing), 2);  // the scan's and the link's
    link.ClosePort();
    EXPECT_FALSE(fs::exists(lockFile));
}

// Writes a lock file last modified `age` seconds ago (negative: ahead).
void PutLock(const std::string& path, const std::string& content, int age) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    timespec times[2];
    clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= age;
    times[1] = times[0];
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST_F(PortLockTest, LocksThatNameNoProcessAreHeldOnlyWhileYoung) {
    const std::string binary("\0\x01\xff\x7f\n\x80", 6);
    const std::string contents[] = {"", "garbage\n", binary};

    // Written a moment ago: perhaps being written now, so the port is
    // held, for the scan and the link alike, and the file is left alone.
    for (const std::string& content : contents) {
        SCOPED_TRACE(testing::PrintToString(content));
        PutLock(lockFile, content, 2);
        ExpectHeld();
        EXPECT_EQ(ReadText(lockFile), content);
    }
    EXPECT_EQ(radio.CountFrames(&sim::Frame::IsPing), 0);

    // Left so for longer than anyone takes to write a number, or dated
    // ahead by a clock set back since: debris, cleared as a stale lock.
    for (int age : {30, 3600, -3600}) {
        for (const std::string& content : contents) {
            SCOPED_TRACE(testing::PrintToString(content) + " " + std::to_string(age));
            PutLock(lockFile, content, age);
            ExpectScannedFree();

            PutLock(lockFile, content, age);
            TRadiocomm link;
            EXPECT_EQ(link.OpenPort(1, 9600), 0);
            EXPECT_EQ(ReadText(lockFile), LockText(getpid()));
            link.ClosePort();
            EXPECT_FALSE(fs::exists(lockFile));
        }
    }
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(PortLockTest, LocksThatBeginWithALiveNumberAreHeldHoweverOld) {
    const auto Binary = [](pid_t pid) {
        const int value = pid;
        return std::string(reinterpret_cast<const char*>(&value), sizeof value);
    };
    const std::string live = std::to_string(getppid());
    const std::string held[] = {"      " + live + "\r\n", "      " + live + " minicom root\n",
                                Binary(getppid()), live + std::string(1 << 20, 'x')};
    for (const std::string& content : held) {
        SCOPED_TRACE(testing::PrintToString(content.substr(0, 24)));
        PutLock(lockFile, content, 3600);
        ExpectHeld();
        EXPECT_TRUE(ReadText(lockFile) == content);
    }
}

TEST_F(PortLockTest, WithoutAUsableLockFolderPortsStillOpen) {
    port_lock::SetFolder(folder + "/missing");
    HANDLE h = OpenCom(1);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(fs::is_empty(folder));
    // The other safeguards still keep a second opener out.
    EXPECT_EQ(OpenCom(1), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
}

}  // namespace
