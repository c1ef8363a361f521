// What every test process sets up before its first test: a private
// per-user config folder (so the COM ports folder is the test's own), a
// machine with no serial devices of its own, and a known locale.
#pragma once

#include <string>

namespace test_env {

// Called by the test mains; safe to call again.
void Setup();

// The numbers of the C locale, both for the C library (strtod, printf)
// and as Qt's default locale (the program's decimal separator), whatever
// language the machine runs in. A test of another language sets it itself.
void SetKnownLocale();

// Puts back, before each test, what Setup made and a test may change: the
// working folder, HOME and XDG_CONFIG_HOME, the umask, the device and lock
// folders (the lock folder and the ports folder emptied), the known locale.
void RestoreProcessState();

// A fresh empty folder under the process's scratch folder.
std::string MakeTempDir(const std::string& prefix = "t");

// The process's ports folder ($XDG_CONFIG_HOME/chantune/ports), created.
std::string PortsFolder();

// Points COMn at a device path (symbolic link in the ports folder);
// RemoveComPort takes it away again.
void SetComPort(int n, const std::string& devicePath);
void RemoveComPort(int n);
void ClearComPorts();

}  // namespace test_env
