// simradio: a simulated radio on a pseudo-terminal, to try chantune by
// hand without a radio. Prints the device to open and each frame that
// arrives; runs until interrupted (Ctrl+C) or terminated, then writes its
// memory to the --save file if one was named.
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/win32/com_ports.h"
#include "radio_sim.h"

namespace fs = std::filesystem;

namespace {

void Usage() {
    std::fprintf(stderr,
                 "usage: simradio [options]\n"
                 "  --com N            appear as COMN (a new link in %s, removed on exit;\n"
                 "                     a COMN that is there already is left alone)\n"
                 "  --memory FILE      load the 512-byte memory from FILE (default all 0xFF)\n"
                 "  --save FILE        write the 512-byte memory to FILE when stopped, to serve\n"
                 "                     it again with --memory (FILE may be the --memory file)\n"
                 "  --baud B --pace    take 10 bits per byte at B baud, both ways (default 4800)\n"
                 "  --silent           answer nothing\n"
                 "  --ping-reply X     answer the ping with byte X instead of 0x01\n"
                 "  --extra N          send N stray bytes 0xEE after every reply\n"
                 "  --short-image      send only 511 bytes of the memory\n"
                 "  --no-echo-at A,B   store writes to these addresses but do not echo\n"
                 "  --wrong-echo-at A  store writes to these addresses, echo the value inverted\n"
                 "  --delay MS         wait MS ms before every reply\n"
                 "  --hang-up-after N  hang up when the N-th frame arrives (it is not answered)\n"
                 "numbers may be decimal or 0x hexadecimal\n",
                 com_ports::PortsFolder().c_str());
}

bool ParseNumber(const char* text, long min, long max, int* out) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 0);
    if (errno || end == text || *end != '\0' || v < min || v > max) return false;
    *out = static_cast<int>(v);
    return true;
}

bool ParseAddresses(const char* text, std::set<int>* out) {
    std::string list(text);
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int a;
        if (!ParseNumber(item.c_str(), 0, 511, &a)) return false;
        out->insert(a);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

std::string Describe(const sim::Frame& f) {
    std::string hex;
    char b[8];
    for (uint8_t byte : f.bytes) {
        std::snprintf(b, sizeof b, "%02X ", byte);
        hex += b;
    }
    char what[64] = "";
    if (f.IsPing()) std::snprintf(what, sizeof what, "ping");
    else if (f.IsRead()) std::snprintf(what, sizeof what, "read memory");
    else if (f.IsWrite()) std::snprintf(what, sizeof what, "write 0x%03X = 0x%02X", f.Address(), f.Value());
    else if (f.IsReset()) std::snprintf(what, sizeof what, "reset");
    return hex + "  " + what;
}

}  // namespace

int main(int argc, char** argv) {
    sim::Faults faults;
    int com = 0;
    std::string memoryFile;
    std::string saveFile;
    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = true;
        bool takesValue = true;
        if (opt == "--silent") faults.silent = true, takesValue = false;
        else if (opt == "--short-image") faults.shortImage = true, takesValue = false;
        else if (opt == "--pace") faults.pacing = true, takesValue = false;
        else if (opt == "--help" || opt == "-h") return Usage(), 0;
        else if (!value) ok = false;
        else if (opt == "--com") ok = ParseNumber(value, 1, 255, &com);
        else if (opt == "--memory") memoryFile = value;
        else if (opt == "--save") saveFile = value;
        else if (opt == "--baud") ok = ParseNumber(value, 50, 4000000, &faults.baud);
        else if (opt == "--ping-reply") ok = ParseNumber(value, 0, 255, &faults.pingReply);
        else if (opt == "--extra") ok = ParseNumber(value, 0, 4096, &faults.extraReplyBytes);
        else if (opt == "--no-echo-at") ok = ParseAddresses(value, &faults.noEchoAt);
        else if (opt == "--wrong-echo-at") ok = ParseAddresses(value, &faults.wrongEchoAt);
        else if (opt == "--delay") ok = ParseNumber(value, 0, 600000, &faults.replyDelayMs);
        else if (opt == "--hang-up-after") ok = ParseNumber(value, 1, 1000000, &faults.hangUpAfterFrames);
        else ok = false;
        if (!ok) {
            std::fprintf(stderr, "simradio: bad option or value: %s\n", opt.c_str());
            Usage();
            return 2;
        }
        if (takesValue) ++i;
    }

    // Signals are taken by sigtimedwait below; the serving thread inherits
    // the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        sim::RadioSim radio;
        std::string why;
        if (!memoryFile.empty() && !radio.LoadMemory(memoryFile, &why)) {
            std::fprintf(stderr, "simradio: %s: %s\n", memoryFile.c_str(), why.c_str());
            return 1;
        }
        // The file is written only at the end: make sure now that it can be.
        if (!saveFile.empty()) {
            const std::string folder = fs::path(saveFile).parent_path().string();
            if (access(folder.empty() ? "." : folder.c_str(), W_OK) != 0) {
                std::fprintf(stderr, "simradio: %s: %s\n", saveFile.c_str(), std::strerror(errno));
                return 1;
            }
        }
        radio.SetFaults(faults);
        // A COMn already there is the user's own link (or one left by a
        // simradio that was killed): it is not replaced.
        if (com > 0 && !radio.AddAsCom(com, &why)) {
            std::fprintf(stderr, "simradio: not replacing COM%d: %s\n", com, why.c_str());
            return 1;
        }
        std::printf("simradio: serving on %s\n", radio.DevicePath().c_str());
        if (com > 0) {
            std::printf("simradio: appears as COM%d (%s/COM%d)\n", com, com_ports::PortsFolder().c_str(), com);
        }
        std::printf("simradio: Ctrl+C to stop\n");
        std::fflush(stdout);

        size_t shown = 0;
        bool toldHangUp = false;
        for (;;) {
            const timespec tick{0, 50000000};
            int sig = sigtimedwait(&stopSignals, nullptr, &tick);
            std::vector<sim::Frame> frames = radio.Frames();
            for (; shown < frames.size(); ++shown) std::printf("frame: %s\n", Describe(frames[shown]).c_str());
            if (radio.IsHungUp() && !toldHangUp) {
                std::printf("simradio: line hung up\n");
                toldHangUp = true;
            }
            std::fflush(stdout);
            if (sig > 0) break;
        }
        if (!saveFile.empty()) {
            if (!radio.SaveMemory(saveFile, &why)) {
                std::fprintf(stderr, "simradio: %s: %s\n", saveFile.c_str(), why.c_str());
                return 1;
            }
            std::printf("simradio: memory saved to %s\n", saveFile.c_str());
        }
        std::printf("simradio: stopped\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simradio: %s\n", e.what());
        return 1;
    }
    return 0;
}
