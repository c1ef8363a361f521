// chantune built without its windows: makes the one link object, scans
// COM1 to COM6 for answering radios and lists what it found.
#include <cstdio>

#include "Radio_com.h"

TRadiocomm* Radiocomm = new TRadiocomm();

int main() {
    PortScanList* ports = ScanPorts(6);
    if (!ports || ports->empty()) std::printf("No serial port opened.\n");
    if (ports) {
        for (const PortScanEntry* e : *ports)
            std::printf("COM%d%s\n", e->Port, e->Status == 0 ? " (device)" : "");
    }
    return 0;
}
