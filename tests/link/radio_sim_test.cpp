// The simulated radio itself: frames from a byte stream, memory file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "link_support.h"

namespace {

// The program's side of the line, opened by hand.
class Client {
public:
    explicit Client(const std::string& path) : FFd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~Client() { close(FFd); }
    bool ok() const { return FFd >= 0; }
    void Send(std::initializer_list<int> bytes) {
        for (int b : bytes) {
            const uint8_t c = static_cast<uint8_t>(b);
            (void)!write(FFd, &c, 1);
        }
    }
    std::vector<uint8_t> Receive(size_t count, int timeoutMs = 1000) {
        std::vector<uint8_t> got;
        while (got.size() < count) {
            pollfd p{FFd, POLLIN, 0};
            if (poll(&p, 1, timeoutMs) <= 0) break;
            uint8_t b[600];
            ssize_t r = read(FFd, b, sizeof b);
            if (r <= 0) break;
            got.insert(got.end(), b, b + r);
        }
        return got;
    }

private:
    int FFd;
};

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(30)); }

TEST(RadioSim, ParsesFramesSplitAcrossReadsAndSkipsGarbage) {
    sim::RadioSim radio;
    Client c(radio.DevicePath());
    ASSERT_TRUE(c.ok());

    c.Send({0x11});
    Pause();
    c.Send({0x39, 0x13});
    Pause();
    c.Send({0x05});
    Pause();
    c.Send({0xAA});
    EXPECT_EQ(c.Receive(1), std::vector<uint8_t>{0xAA});
    EXPECT_EQ(radio.Byte(256 + 5), 0xAA);

    c.Send({0x00, 0x11, 0x11, 0x39, 0x01});  // two stray bytes, then a ping
    EXPECT_EQ(c.Receive(1), std::vector<uint8_t>{0x01});
    EXPECT_EQ(radio.Garbage(), (std::vector<uint8_t>{0x00, 0x11}));
    c.Send({0x11, 0x39, 0x07, 0x11, 0x39, 0x04, 0x00});  // unknown command, then a reset
    ASSERT_TRUE(radio.WaitForFrames(3, 1000));
    const auto frames = radio.Frames();
    EXPECT_TRUE(frames[0].IsWrite());
    EXPECT_EQ(frames[0].Address(), 261);
    EXPECT_TRUE(frames[1].IsPing());
    EXPECT_TRUE(frames[2].IsReset());
    EXPECT_EQ(radio.Garbage().size(), 5u);  // 00 11 and 11 39 07
    EXPECT_TRUE(c.Receive(1, 100).empty());  // a reset is not answered
}

TEST(RadioSim, PacingTakesTheLineTimeBothWays) {
    sim::RadioSim radio;
    sim::Faults paced;
    paced.pacing = true;
    paced.baud = 9600;
    radio.SetFaults(paced);
    Client c(radio.DevicePath());
    ASSERT_TRUE(c.ok());
    const auto t0 = link_test::Clock::now();
    c.Send({0x11, 0x39, 0x02});
    const std::vector<uint8_t> image = c.Receive(512, 3000);
    const double ms = link_test::MsSince(t0);
    EXPECT_EQ(image.size(), 512u);
    const double wire = 515 * 10 * 1000.0 / 9600;  // 3 bytes in, 512 out
    EXPECT_GE(ms, wire * 0.98);
    EXPECT_LT(ms, wire * 4);
}

TEST(RadioSim, LoadsMemoryOfExactly512Bytes) {
    const std::string dir = test_env::MakeTempDir("mem");
    std::array<uint8_t, 512> m = link_test::AllValuesImage();
    std::ofstream(dir + "/ok.bin", std::ios::binary).write(reinterpret_cast<const char*>(m.data()), 512);
    std::ofstream(dir + "/short.bin", std::ios::binary).write(reinterpret_cast<const char*>(m.data()), 511);
    std::ofstream long_(dir + "/long.bin", std::ios::binary);
    long_.write(reinterpret_cast<const char*>(m.data()), 512);
    long_.put('x');
    long_.close();
    sim::RadioSim radio;
    EXPECT_FALSE(radio.LoadMemory(dir + "/short.bin"));
    EXPECT_FALSE(radio.LoadMemory(dir + "/long.bin"));
    EXPECT_FALSE(radio.LoadMemory(dir + "/missing.bin"));
    EXPECT_EQ(radio.Byte(0), 0xFF);
    EXPECT_TRUE(radio.LoadMemory(dir + "/ok.bin"));
    EXPECT_EQ(radio.Memory(), m);
}

}  // namespace
