// build/simradio as a user runs it: a process of its own, its messages and
// result, the ports folder and the files it leaves.
#include <gtest/gtest.h>

#include <filesystem>

#include "link_support.h"
#include "support/child_process.h"

namespace fs = std::filesystem;

namespace {

class SimradioProgramTest : public ::testing::Test {
protected:
    // Starts simradio with these options.
    void Start(std::vector<std::string> options) {
        options.insert(options.begin(), SIMRADIO);
        sim = std::make_unique<test_env::ChildProcess>(options);
    }
    // A run of simradio to its end: its exit code.
    int Run(const std::vector<std::string>& options) {
        Start(options);
        return sim->Wait(10000);
    }
    // simradio with these options, once it serves as COM1.
    void Serve(std::vector<std::string> options) {
        options.insert(options.begin(), {"--com", "1"});
        Start(options);
        for (std::string line; sim->ReadLine(&line, 10000);)
            if (line.rfind("simradio: appears as COM1", 0) == 0) return;
        ADD_FAILURE() << "simradio did not start: " << sim->Errors();
    }
    // Stopped by this signal, it ends as it should.
    void Stop(int sig) {
        kill(sim->Pid(), sig);
        EXPECT_EQ(sim->Wait(10000), 0) << sim->Errors();
    }

    const std::string dir = test_env::MakeTempDir("simradio");
    const std::string ports = test_env::PortsFolder();
    std::unique_ptr<test_env::ChildProcess> sim;
};

TEST_F(SimradioProgramTest, RefusesToReplaceACommPortItDidNotMake) {
    const std::string device = dir + "/ttyUSB1";
    std::ofstream(device) << "";
    const std::string com3 = ports + "/COM3";
    // The user's own link, and one that points nowhere (which makes COM3
    // absent on purpose, or was left by a simradio that was killed).
    for (const std::string& target : {device, std::string("/dev/ttyUSB9")}) {
        SCOPED_TRACE(target);
        fs::remove(com3);
        fs::create_symlink(target, com3);
        EXPECT_EQ(Run({"--com", "3"}), 1);
        EXPECT_NE(sim->Errors().find(com3), std::string::npos) << sim->Errors();
        EXPECT_NE(sim->Errors().find(" is a link to " + target), std::string::npos) << sim->Errors();
        EXPECT_EQ(fs::read_symlink(com3), target);
    }
}

TEST_F(SimradioProgramTest, SavesWhatTheLinkWroteAndServesItAgain) {
    const std::string saved = dir + "/saved.bin";
    std::string expected(512, '\xFF');
    Serve({"--save", saved});
    TRadiocomm link;
    link.SetTimeouts(1000);
    ASSERT_EQ(link.OpenPort(1, 4800), 0);
    for (auto [address, value] : {std::pair{0, 0x12}, {300, 0x00}, {511, 0x34}}) {
        EXPECT_EQ(link.WriteByte(address, value), 0);
        expected[address] = static_cast<char>(value);
    }
    link.ClosePort();
    EXPECT_FALSE(fs::exists(saved));  // written when it stops
    Stop(SIGTERM);
    EXPECT_EQ(test_env::FileText(saved), expected);
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports + "/COM1")));  // its own link went with it
    EXPECT_EQ(fs::directory_iterator(dir)->path(), saved);           // and no other file

    // Served again, and saved back to the same file after more writes.
    Serve({"--memory", saved, "--save", saved});
    ASSERT_EQ(link.OpenPort(1, 4800), 0);
    const uint8_t* image = link.ReadImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image), 512), expected);
    EXPECT_EQ(link.WriteByte(1, 0x56), 0);
    link.ClosePort();
    Stop(SIGINT);
    expected[1] = 0x56;
    EXPECT_EQ(test_env::FileText(saved), expected);
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
        EXPECT_EQ(Run(c.options), 1);
        EXPECT_EQ(sim->Errors(), "simradio: " + c.message + "\n");
    }
}

}  // namespace
