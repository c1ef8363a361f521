// build/simradio as a user runs it: a process of its own, its messages and
// result, the ports folder and the files it leaves.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "link_support.h"
#include "support/child_process.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SimradioProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_env::ClearComPorts();
        dir = test_env::MakeTempDir("simradio");
        ports = test_env::PortsFolder();
    }
    void TearDown() override { test_env::ClearComPorts(); }

    // simradio with these options, once it serves as COM1.
    std::unique_ptr<test_env::ChildProcess> Serve(std::vector<std::string> options) {
        options.insert(options.begin(), {SIMRADIO, "--com", "1"});
        auto sim = std::make_unique<test_env::ChildProcess>(options);
        std::string line;
        while (sim->ReadLine(&line, 10000))
            if (line.rfind("simradio: appears as COM1", 0) == 0) return sim;
        ADD_FAILURE() << "simradio did not start: " << sim->Errors();
        return sim;
    }
    // Ends a run of simradio with its options; its wait status.
    int Run(std::vector<std::string> options, test_env::ChildProcess** keep = nullptr) {
        options.insert(options.begin(), SIMRADIO);
        last = std::make_unique<test_env::ChildProcess>(options);
        if (keep) *keep = last.get();
        return last->Wait(10000);
    }

    std::string dir, ports;
    std::unique_ptr<test_env::ChildProcess> last;
};

TEST_F(SimradioProgramTest, RefusesToReplaceACommPortItDidNotMake) {
    const std::string device = dir + "/ttyUSB1";
    std::ofstream(device) << "";
    const std::string link = ports + "/COM3";
    // The user's own link, and one that points nowhere (which makes COM3
    // absent on purpose, or was left by a simradio that was killed).
    for (const std::string& target : {device, std::string("/dev/ttyUSB9")}) {
        SCOPED_TRACE(target);
        fs::remove(link);
        fs::create_symlink(target, link);
        const int status = Run({"--com", "3"});
        EXPECT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_NE(last->Errors().find(link), std::string::npos) << last->Errors();
        EXPECT_NE(last->Errors().find(" is a link to " + target), std::string::npos) << last->Errors();
        EXPECT_EQ(fs::read_symlink(link), target);
    }
    fs::remove(link);
}

TEST_F(SimradioProgramTest, SavesWhatTheLinkWroteAndServesItAgain) {
    const std::string saved = dir + "/saved.bin";
    {
        auto sim = Serve({"--save", saved});
        TRadiocomm link;
        link.SetTimeouts(1000);
        ASSERT_EQ(link.OpenPort(1, 4800), 0);
        EXPECT_EQ(link.WriteByte(0, 0x12), 0);
        EXPECT_EQ(link.WriteByte(300, 0x00), 0);
        EXPECT_EQ(link.WriteByte(511, 0x34), 0);
        link.ClosePort();
        EXPECT_FALSE(fs::exists(saved));  // written when it stops
        kill(sim->Pid(), SIGTERM);
        const int status = sim->Wait(10000);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << sim->Errors();
    }
    std::string expected(512, '\xFF');
    expected[0] = 0x12;
    expected[300] = 0x00;
    expected[511] = 0x34;
    EXPECT_EQ(ReadBytes(saved), expected);
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports + "/COM1")));  // its own link went with it
    EXPECT_EQ(fs::directory_iterator(dir)->path(), saved);           // and no other file

    // Served again, and saved back to the same file after more writes.
    auto sim = Serve({"--memory", saved, "--save", saved});
    TRadiocomm link;
    link.SetTimeouts(1000);
    ASSERT_EQ(link.OpenPort(1, 4800), 0);
    const uint8_t* image = link.ReadImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image), 512), expected);
    EXPECT_EQ(link.WriteByte(1, 0x56), 0);
    link.ClosePort();
    kill(sim->Pid(), SIGINT);
    const int status = sim->Wait(10000);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    expected[1] = 0x56;
    EXPECT_EQ(ReadBytes(saved), expected);
}

TEST_F(SimradioProgramTest, FilesItCannotUseAreReportedWithTheReason) {
    const std::string shortFile = dir + "/short.bin";
    std::ofstream(shortFile, std::ios::binary) << std::string(511, '\0');
    const struct {
        std::vector<std::string> options;
        std::string message;
    } cases[] = {
        {{"--memory", dir + "/missing.bin"}, dir + "/missing.bin: No such file or directory"},
        {{"--memory", dir}, dir + ": Is a directory"},
        {{"--memory", shortFile}, shortFile + ": does not hold exactly 512 bytes"},
        {{"--save", dir + "/gone/saved.bin"}, dir + "/gone/saved.bin: No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const int status = Run(c.options);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        EXPECT_EQ(last->Errors(), "simradio: " + c.message + "\n");
    }
}

}  // namespace
