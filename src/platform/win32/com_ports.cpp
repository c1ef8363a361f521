#include "platform/win32/com_ports.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace fs = std::filesystem;

namespace com_ports {
namespace {

std::mutex RootsMutex;
std::string DevRoot = "/dev";
std::string SysRoot = "/sys";

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;  // follows links: a dangling one is absent
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

// The number after prefix when name is prefix followed by decimal digits
// only; -1 otherwise.
long NumberAfter(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
    long value = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || value > 1000000) return -1;
        value = value * 10 + (name[i] - '0');
    }
    return value;
}

// A built-in UART is real when a driver is bound to its device and the
// serial core knows its type (type 0 is PORT_UNKNOWN: a placeholder the
// kernel makes for every possible port).
bool UartHasHardware(const std::string& sysRoot, const std::string& name) {
    const std::string base = sysRoot + "/class/tty/" + name;
    if (!Exists(base + "/device/driver")) return false;
    std::ifstream type(base + "/type");
    long value = 0;
    if (!(type >> value)) return false;
    return value != 0;
}

}  // namespace

std::string PortsFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string config = (xdg && xdg[0] == '/') ? std::string(xdg) : HomeFolder() + "/.config";
    return config + "/chantune/ports";
}

std::vector<std::string> MachineDevices(const std::string& devRoot, const std::string& sysRoot) {
    static const char* const DeviceGroups[] = {"ttyUSB", "ttyACM", "ttyS"};
    std::vector<std::pair<long, std::string>> found[3];
    std::error_code ec;
    for (fs::directory_iterator it(devRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (int g = 0; g < 3; ++g) {
            long number = NumberAfter(name, DeviceGroups[g]);
            if (number < 0) continue;
            if (g == 2 && !UartHasHardware(sysRoot, name)) continue;
            found[g].emplace_back(number, name);
        }
    }
    std::vector<std::string> devices;
    for (auto& group : found) {
        std::sort(group.begin(), group.end());
        for (const auto& [number, name] : group) devices.push_back(devRoot + "/" + name);
    }
    return devices;
}

std::optional<std::string> Resolve(int n) {
    if (n < 1) return std::nullopt;
    const std::string entry = PortsFolder() + "/COM" + std::to_string(n);
    struct stat st;
    if (lstat(entry.c_str(), &st) == 0) {
        // Rule (a): the user's own entry wins, and a link that points
        // nowhere makes the port absent.
        if (!Exists(entry)) return std::nullopt;
        if (!S_ISLNK(st.st_mode)) return entry;
        std::error_code ec;
        fs::path target = fs::read_symlink(entry, ec);
        if (ec) return std::nullopt;
        if (target.is_relative()) target = fs::path(PortsFolder()) / target;
        return target.lexically_normal().string();
    }
    std::string devRoot, sysRoot;
    {
        std::lock_guard<std::mutex> lock(RootsMutex);
        devRoot = DevRoot;
        sysRoot = SysRoot;
    }
    std::vector<std::string> devices = MachineDevices(devRoot, sysRoot);
    if (static_cast<size_t>(n) > devices.size()) return std::nullopt;
    return devices[static_cast<size_t>(n) - 1];
}

void SetDeviceRoots(const std::string& devRoot, const std::string& sysRoot) {
    std::lock_guard<std::mutex> lock(RootsMutex);
    DevRoot = devRoot;
    SysRoot = sysRoot;
}

}  // namespace com_ports
