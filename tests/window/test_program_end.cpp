// How the program ends while connected, run as a process of its own
// against the simulated radio: every way out leaves the port's lock file
// gone, the line shareable, the process ended normally and nothing sent to
// the radio.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "simradio/radio_sim.h"
#include "support/child_process.h"

namespace fs = std::filesystem;

namespace {

class ProgramEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        radio.InstallAsCom(1);
    }

    // The program started, its port scan done and Connection clicked; the
    // frames so far are cleared. The radio is plugged in afresh first, so
    // that nothing a program before left on the line counts here.
    std::unique_ptr<test_env::ChildProcess> StartConnected() {
        radio.Replug();
        lockFile = lockFolder + "/LCK.." + fs::path(radio.DevicePath()).filename().string();
        auto child = std::make_unique<test_env::ChildProcess>(
            std::vector<std::string>{CHANTUNE_CHILD, lockFolder, test_env::MakeTempDir("nodev")});
        child->Send("connect");
        std::string answer;
        EXPECT_TRUE(child->ReadLine(&answer, 30000)) << child->Errors();
        EXPECT_EQ(answer, "connected");
        EXPECT_EQ(std::atoi(test_env::FileText(lockFile).c_str()), child->Pid()) << "the program holds the port";
        radio.ClearFrames();
        return child;
    }

    // It ended by itself with result 0, removed its lock and left the line
    // shareable, with the radio's side still open: another process opens it
    // (only root could while it stays exclusive).
    void ExpectEnded(test_env::ChildProcess& child) {
        EXPECT_EQ(child.Wait(20000), 0) << child.Errors();
        EXPECT_FALSE(fs::exists(lockFile));
        EXPECT_FALSE(radio.LineExclusive());
        const int fd = open(radio.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(fd, 0) << strerror(errno);
        if (fd >= 0) close(fd);
    }

    // As ExpectEnded, and it sent nothing after the frames it had sent.
    void ExpectNormalEnd(test_env::ChildProcess& child, size_t frames = 0) {
        ExpectEnded(child);
        EXPECT_EQ(radio.Frames().size(), frames);
        EXPECT_TRUE(radio.Garbage().empty());
    }

    sim::RadioSim radio;
    const std::string lockFolder = test_env::MakeTempDir("lock");
    std::string lockFile;
};

TEST_F(ProgramEndTest, EveryWayOutWhileConnectedRemovesTheLockAndFreesTheLine) {
    // Exit, File > Exit, the window's close box; then the stop signals of
    // kill, Ctrl+C and a session or terminal that goes away.
    for (const char* command : {"exit", "menu", "close"}) {
        SCOPED_TRACE(command);
        auto child = StartConnected();
        child->Send(command);
        ExpectNormalEnd(*child);
    }
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(sig));
        auto child = StartConnected();
        kill(child->Pid(), sig);
        ExpectNormalEnd(*child);
    }
}

TEST_F(ProgramEndTest, StopSignalWaitsForTheExchangeUnderWay) {
    sim::Faults slow;
    slow.replyDelayMs = 700;
    radio.SetFaults(slow);
    auto child = StartConnected();
    child->Send("read");
    ASSERT_TRUE(radio.WaitForFrames(1, 10000));
    ASSERT_TRUE(radio.Frames()[0].IsRead());
    kill(child->Pid(), SIGTERM);
    ExpectNormalEnd(*child, 1);  // the read, and nothing after it
    const std::string output = child->Output();  // its log, last of all
    EXPECT_TRUE(output.ends_with("\nlog: Data block succefully read from device\n")) << output;
}

TEST_F(ProgramEndTest, StopSignalEndsAWriteAtTheFirstExchangeThatFails) {
    // Every channel in use: Write channels erases the 100 rows not ticked,
    // 500 exchanges. The radio answers the read, then echoes nothing: a
    // second lost on each byte, unless the stop ends the write.
    radio.SetMemory({});
    sim::Faults quiet;
    for (int address = 0; address < 512; ++address) quiet.noEchoAt.insert(address);
    radio.SetFaults(quiet);
    auto child = StartConnected();
    child->Send("write");
    ASSERT_TRUE(radio.WaitForFrames(2, 10000));  // the read, the first write
    kill(child->Pid(), SIGTERM);
    const size_t sent = radio.Frames().size();
    ExpectEnded(*child);
    // At most the write under way followed the stop; no reset frame.
    EXPECT_LE(radio.Frames().size(), sent + 1);
    EXPECT_EQ(radio.CountFrames(&sim::Frame::IsReset), 0);
}

}  // namespace
