// How the name "COMn" reaches a serial device on this machine.
//
// COMn resolves, in order, to
//   (a) the target of the symbolic link COMn in the per-user ports folder
//       $XDG_CONFIG_HOME/chantune/ports/ (~/.config/chantune/ports/ when
//       XDG_CONFIG_HOME is unset or empty); a link that points nowhere makes
//       COMn absent, with no fall-back;
//   (b) otherwise the n-th serial device present on the machine: USB
//       adapters first (/dev/ttyUSB*, then /dev/ttyACM*, each in numeric
//       order), then the built-in UARTs (/dev/ttyS* that have real hardware
//       behind them, as /sys/class/tty shows).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace com_ports {

// The ports folder as it is for the current environment.
std::string PortsFolder();

// The device path COMn stands for, or nothing when COMn is absent.
std::optional<std::string> Resolve(int n);

// The machine's serial devices in COM order (rule (b)), read from the
// given /dev and /sys roots.
std::vector<std::string> MachineDevices(const std::string& devRoot, const std::string& sysRoot);

// Test seam: where rule (b) looks. By default "/dev" and "/sys". Tests
// point both at folders of their own (an empty folder means the machine has
// no serial devices), so they never touch the machine's real ports.
void SetDeviceRoots(const std::string& devRoot, const std::string& sysRoot);

}  // namespace com_ports
