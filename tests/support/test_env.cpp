#include "support/test_env.h"

#include <QLocale>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include <sys/stat.h>

#include "platform/win32/com_ports.h"
#include "platform/win32/port_lock.h"

namespace fs = std::filesystem;

namespace test_env {
namespace {
std::string RootFolder;
int FoldersMade = 0;

// The process as Setup left it.
struct Start {
    fs::path cwd;
    std::optional<std::string> home;
    mode_t umask = 022;
};
Start StartState;

void RemoveAllIn(const std::string& folder) {
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) fs::remove_all(e.path(), ec);
}
}  // namespace

void Setup() {
    if (!RootFolder.empty()) return;
    std::string tmpl = (fs::temp_directory_path() / "chantune-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    RootFolder = tmpl;
    fs::create_directories(RootFolder + "/config");
    fs::create_directories(RootFolder + "/nodev");
    fs::create_directories(RootFolder + "/nosys");
    fs::create_directories(RootFolder + "/lock");
    setenv("XDG_CONFIG_HOME", (RootFolder + "/config").c_str(), 1);
    com_ports::SetDeviceRoots(RootFolder + "/nodev", RootFolder + "/nosys");
    port_lock::SetFolder(RootFolder + "/lock");  // never the machine's own lock folder
    // Without a session (CI, a console) Qt would say on every start that it
    // makes a runtime folder of its own.
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        fs::create_directory(RootFolder + "/runtime");
        fs::permissions(RootFolder + "/runtime", fs::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", (RootFolder + "/runtime").c_str(), 1);
    }
    SetKnownLocale();
    StartState.cwd = fs::current_path();
    if (const char* home = std::getenv("HOME")) StartState.home = home;
    StartState.umask = umask(0);
    umask(StartState.umask);
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(RootFolder, ec);
    });
}

void SetKnownLocale() {
    std::setlocale(LC_NUMERIC, "C");
    if (QLocale() != QLocale::c()) QLocale::setDefault(QLocale::c());
}

void RestoreProcessState() {
    Setup();
    SetKnownLocale();
    std::error_code ec;
    if (fs::current_path(ec) != StartState.cwd) fs::current_path(StartState.cwd, ec);
    setenv("XDG_CONFIG_HOME", (RootFolder + "/config").c_str(), 1);
    if (StartState.home) setenv("HOME", StartState.home->c_str(), 1);
    else unsetenv("HOME");
    umask(StartState.umask);
    com_ports::SetDeviceRoots(RootFolder + "/nodev", RootFolder + "/nosys");
    port_lock::SetFolder(RootFolder + "/lock");
    RemoveAllIn(RootFolder + "/lock");
    RemoveAllIn(PortsFolder());
}

std::string MakeTempDir(const std::string& prefix) {
    Setup();
    std::string dir = RootFolder + "/" + prefix + std::to_string(++FoldersMade);
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
