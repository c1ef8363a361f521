#include "support/test_env.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/win32/com_ports.h"
#include "platform/win32/port_lock.h"

namespace fs = std::filesystem;

namespace test_env {
namespace {
std::string g_root;
int g_counter = 0;
}

void Setup() {
    if (!g_root.empty()) return;
    std::string tmpl = (fs::temp_directory_path() / "chantune-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    g_root = tmpl;
    fs::create_directories(g_root + "/config");
    fs::create_directories(g_root + "/nodev");
    fs::create_directories(g_root + "/nosys");
    fs::create_directories(g_root + "/lock");
    setenv("XDG_CONFIG_HOME", (g_root + "/config").c_str(), 1);
    com_ports::SetDeviceRoots(g_root + "/nodev", g_root + "/nosys");
    port_lock::SetFolder(g_root + "/lock");  // never the machine's own lock folder
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(g_root, ec);
    });
}

std::string MakeTempDir(const std::string& prefix) {
    Setup();
    std::string dir = g_root + "/" + prefix + std::to_string(++g_counter);
    fs::create_directories(dir);
    return dir;
}

std::string PortsFolder() {
    Setup();
    std::string dir = com_ports::PortsFolder();
    fs::create_directories(dir);
    return dir;
}

void SetComPort(int n, const std::string& devicePath) {
    RemoveComPort(n);
    fs::create_symlink(devicePath, PortsFolder() + "/COM" + std::to_string(n));
}

void RemoveComPort(int n) {
    std::error_code ec;
    fs::remove(PortsFolder() + "/COM" + std::to_string(n), ec);
}

void ClearComPorts() {
    for (int n = 1; n <= 16; ++n) RemoveComPort(n);
}

}  // namespace test_env
