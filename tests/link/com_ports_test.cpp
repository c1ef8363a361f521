// How COMn maps to a device, on a fake /dev and /sys tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/win32/com_ports.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

namespace {

// A machine tree: device nodes are plain files here (only their names
// count), UARTs are described under sys/class/tty.
struct FakeMachine {
    std::string dev, sys;
    FakeMachine() {
        const std::string root = test_env::MakeTempDir("machine");
        dev = root + "/dev";
        sys = root + "/sys";
        fs::create_directories(dev);
        fs::create_directories(sys + "/class/tty");
    }
    ~FakeMachine() {
        // Back to a machine without serial devices.
        const std::string empty = test_env::MakeTempDir("nodev");
        com_ports::SetDeviceRoots(empty, empty);
    }
    void Node(const std::string& name) const { std::ofstream(dev + "/" + name) << ""; }
    // A UART entry; driver bound or not, with the given type (-1 = no type file).
    void Uart(const std::string& name, bool driver, int type) const {
        const std::string base = sys + "/class/tty/" + name;
        fs::create_directories(base + "/device");
        if (driver) {
            fs::create_directories(sys + "/bus/platform/drivers/serial8250");
            fs::create_directory_symlink(sys + "/bus/platform/drivers/serial8250", base + "/device/driver");
        }
        if (type >= 0) std::ofstream(base + "/type") << type << "\n";
    }
};

TEST(ComPorts, MachineDevicesUsbFirstThenRealUarts) {
    FakeMachine m;
    for (const char* n : {"ttyUSB10", "ttyUSB2", "ttyUSB0", "ttyACM1", "ttyACM0", "ttyS0", "ttyS1",
                          "ttyS2", "ttyS3", "ttyS11", "ttyS12", "tty", "tty0", "ttyS", "ttyUSBx",
                          "ttyUSB1a", "console", "ttyAMA0"})
        m.Node(n);
    m.Uart("ttyS0", true, 4);    // a 16550A with a driver: real
    m.Uart("ttyS1", true, 0);    // PORT_UNKNOWN: a placeholder
    m.Uart("ttyS2", false, 4);   // no driver bound
    m.Uart("ttyS3", true, -1);   // type not known
    m.Uart("ttyS11", true, 4);   // real, numbered after ttyS3
    m.Uart("ttyS12", true, 4);
    m.Uart("ttyS5", true, 4);    // described, but no device node
    fs::remove(m.sys + "/class/tty/ttyS12/device/driver");
    fs::create_directory_symlink(m.sys + "/nowhere", m.sys + "/class/tty/ttyS12/device/driver");

    const std::vector<std::string> expected = {m.dev + "/ttyUSB0", m.dev + "/ttyUSB2", m.dev + "/ttyUSB10",
                                               m.dev + "/ttyACM0", m.dev + "/ttyACM1", m.dev + "/ttyS0",
                                               m.dev + "/ttyS11"};
    EXPECT_EQ(com_ports::MachineDevices(m.dev, m.sys), expected);
    EXPECT_TRUE(com_ports::MachineDevices(m.dev + "/missing", m.sys).empty());

    // COMn is the n-th of them unless the ports folder says otherwise.
    test_env::ClearComPorts();
    com_ports::SetDeviceRoots(m.dev, m.sys);
    EXPECT_EQ(com_ports::Resolve(1), m.dev + "/ttyUSB0");
    EXPECT_EQ(com_ports::Resolve(7), m.dev + "/ttyS11");
    EXPECT_EQ(com_ports::Resolve(8), std::nullopt);
    EXPECT_EQ(com_ports::Resolve(0), std::nullopt);
    EXPECT_EQ(com_ports::Resolve(-1), std::nullopt);

    const std::string mine = test_env::MakeTempDir("mine") + "/radio";
    std::ofstream(mine) << "";
    test_env::SetComPort(2, mine);                       // pinned by the user
    test_env::SetComPort(3, m.dev + "/gone");            // dangling: absent, no fall-back
    fs::create_symlink("../../elsewhere", test_env::PortsFolder() + "/COM4");  // relative, dangling
    EXPECT_EQ(com_ports::Resolve(1), m.dev + "/ttyUSB0");
    EXPECT_EQ(com_ports::Resolve(2), mine);
    EXPECT_EQ(com_ports::Resolve(3), std::nullopt);
    EXPECT_EQ(com_ports::Resolve(4), std::nullopt);
    EXPECT_EQ(com_ports::Resolve(5), m.dev + "/ttyACM1");
    // A relative link is taken from the ports folder.
    fs::remove(test_env::PortsFolder() + "/COM4");
    fs::create_symlink(fs::relative(mine, test_env::PortsFolder()), test_env::PortsFolder() + "/COM4");
    EXPECT_EQ(com_ports::Resolve(4), fs::path(mine).lexically_normal().string());
    test_env::ClearComPorts();
}

TEST(ComPorts, PortsFolderFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved ? saved : "";
    const char* savedHome = std::getenv("HOME");
    const std::string keepHome = savedHome ? savedHome : "";

    setenv("XDG_CONFIG_HOME", "/some/where", 1);
    EXPECT_EQ(com_ports::PortsFolder(), "/some/where/chantune/ports");
    setenv("HOME", "/home/tech", 1);
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(com_ports::PortsFolder(), "/home/tech/.config/chantune/ports");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(com_ports::PortsFolder(), "/home/tech/.config/chantune/ports");

    setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    if (savedHome) setenv("HOME", keepHome.c_str(), 1);
    else unsetenv("HOME");
    EXPECT_EQ(com_ports::PortsFolder(), keep + "/chantune/ports");
}

}  // namespace
