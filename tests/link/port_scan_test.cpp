// ScanPorts against simulated radios on pseudo-terminals.
#include <gtest/gtest.h>

#include <memory>

#include "link_support.h"

using link_test::Clock;
using link_test::FreeScan;
using link_test::MsSince;

namespace {

class PortScanTest : public ::testing::Test {
protected:
    void SetUp() override { test_env::ClearComPorts(); }
    void TearDown() override { test_env::ClearComPorts(); }
};

std::vector<std::pair<int, int>> Entries(const PortScanList& list) {
    std::vector<std::pair<int, int>> v;
    for (const PortScanEntry* e : list) v.emplace_back(e->Port, e->Status);
    return v;
}

bool OpensNow(int com) {
    const std::string name = "COM" + std::to_string(com);
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

TEST_F(PortScanTest, CountOutsideOneToTenTouchesNoPort) {
    sim::RadioSim radio;
    radio.InstallAsCom(1);
    EXPECT_EQ(ScanPorts(0), nullptr);
    EXPECT_EQ(ScanPorts(11), nullptr);
    EXPECT_EQ(ScanPorts(-1), nullptr);
    EXPECT_FALSE(radio.WaitForFrames(1, 100));

    test_env::ClearComPorts();  // no serial ports at all: an empty list
    PortScanList* none = ScanPorts(6);
    ASSERT_NE(none, nullptr);
    EXPECT_TRUE(none->empty());
    FreeScan(none);
}

TEST_F(PortScanTest, RadioOnCom3BesideASilentCom1) {
    sim::RadioSim com1;
    sim::RadioSim com3;
    com1.InstallAsCom(1);
    com3.InstallAsCom(3);
    test_env::SetComPort(4, "/nonexistent/ttyACM0");  // absent
    sim::Faults silent;
    silent.silent = true;
    com1.SetFaults(silent);
    {
        // The line was last used at another rate.
        TRadiocomm link;
        ASSERT_EQ(link.OpenPort(3, 19200), 0);
        link.ClosePort();
        com3.ClearFrames();
    }

    const auto t0 = Clock::now();
    PortScanList* list = ScanPorts(4);
    const double ms = MsSince(t0);
    ASSERT_NE(list, nullptr);
    using Entry = std::pair<int, int>;
    EXPECT_EQ(Entries(*list), (std::vector<Entry>{{1, 4}, {3, 0}}));
    FreeScan(list);
    EXPECT_GE(ms, 1000);  // the silent port is given 1 + 1000 ms
    EXPECT_LT(ms, 3000);

    EXPECT_EQ(com1.LineBaud(), 4800);
    EXPECT_EQ(com3.LineBaud(), 4800);
    EXPECT_EQ(com1.CountFrames(&sim::Frame::IsPing), 1);
    ASSERT_EQ(com3.Frames().size(), 1u);
    EXPECT_TRUE(com3.Frames()[0].IsPing());
    // Every probed port is closed again.
    EXPECT_FALSE(com1.LineExclusive());
    EXPECT_FALSE(com3.LineExclusive());
    EXPECT_TRUE(OpensNow(1));
    EXPECT_TRUE(OpensNow(3));
}

TEST_F(PortScanTest, ProbesExactlyTheCountAsked) {
    std::vector<std::unique_ptr<sim::RadioSim>> radios;
    for (int n = 1; n <= 11; ++n) {
        radios.push_back(std::make_unique<sim::RadioSim>());
        radios.back()->InstallAsCom(n);
    }
    sim::Faults wrong;
    wrong.pingReply = 0x7F;
    radios[4]->SetFaults(wrong);  // COM5 answers, but not 0x01
    sim::Faults extra;
    extra.extraReplyBytes = 2;
    radios[5]->SetFaults(extra);  // COM6 answers 0x01 and more

    PortScanList* one = ScanPorts(1);
    ASSERT_NE(one, nullptr);
    using Entry = std::pair<int, int>;
    EXPECT_EQ(Entries(*one), (std::vector<Entry>{{1, 0}}));
    FreeScan(one);
    EXPECT_EQ(radios[1]->Frames().size(), 0u);

    // COM7 held by another opener: no entry.
    HANDLE held = CreateFileA("COM7", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PortScanList* ten = ScanPorts(10);
    ASSERT_NE(ten, nullptr);
    EXPECT_EQ(Entries(*ten), (std::vector<Entry>{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 4}, {6, 0},
                                                 {8, 0}, {9, 0}, {10, 0}}));
    FreeScan(ten);
    EXPECT_TRUE(CloseHandle(held));
    EXPECT_EQ(radios[6]->Frames().size(), 0u);
    EXPECT_EQ(radios[10]->Frames().size(), 0u);  // COM11 is beyond the count
    for (int n = 1; n <= 10; ++n) EXPECT_FALSE(radios[static_cast<size_t>(n - 1)]->LineExclusive()) << n;
}

}  // namespace
