// How the program ends while connected, run as a process of its own
// against the simulated radio: every way out leaves the port's lock file
// gone, the process ended normally and nothing sent to the radio.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "sim/radio_sim.h"
#include "support/child_process.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

namespace {

class ProgramEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_env::ClearComPorts();
        lockFolder = test_env::MakeTempDir("lock");
        radio.InstallAsCom(1);
    }
    void TearDown() override { test_env::ClearComPorts(); }

    // The program started, its port scan done and Connection clicked; the
    // frames so far are cleared. The radio is plugged in afresh first: a
    // pseudo-terminal keeps the exclusive mode of the program before, which
    // a real cable's tty drops when its last opener goes (only root may
    // open it meanwhile).
    std::unique_ptr<test_env::ChildProcess> StartConnected() {
        radio.Replug();
        lockFile = lockFolder + "/LCK.." + fs::path(radio.DevicePath()).filename().string();
        auto child = std::make_unique<test_env::ChildProcess>(
            std::vector<std::string>{CHANTUNE_CHILD, lockFolder, test_env::MakeTempDir("nodev")});
        child->Send("connect");
        std::string answer;
        EXPECT_TRUE(child->ReadLine(&answer, 30000)) << child->Errors();
        EXPECT_EQ(answer, "connected");
        std::ifstream in(lockFile);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(std::atoi(text.c_str()), child->Pid()) << "the program holds the port";
        radio.ClearFrames();
        return child;
    }

    // It ended by itself with result 0, removed its lock and sent nothing.
    void ExpectNormalEnd(test_env::ChildProcess& child) {
        const int status = child.Wait(20000);
        EXPECT_TRUE(WIFEXITED(status)) << status << " " << child.Errors();
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_FALSE(fs::exists(lockFile));
        EXPECT_TRUE(radio.Frames().empty());
        EXPECT_TRUE(radio.Garbage().empty());
    }

    sim::RadioSim radio;
    std::string lockFolder;
    std::string lockFile;
};

TEST_F(ProgramEndTest, EveryWayOutWhileConnectedRemovesTheLock) {
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

    const int status = child->Wait(20000);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const std::vector<std::string> output = child->RestOfOutput();
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(output.back(), "log: Data block succefully read from device");
    EXPECT_FALSE(fs::exists(lockFile));
    EXPECT_EQ(radio.Frames().size(), 1u);  // the read, and nothing after it
}

}  // namespace
