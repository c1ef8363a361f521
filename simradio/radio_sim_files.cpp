// The simulated radio's files: its memory in a file, and its link in the
// ports folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/win32/com_ports.h"
#include "radio_sim.h"

namespace fs = std::filesystem;

namespace sim {

bool RadioSim::AddAsCom(int n, std::string* refusal) {
    const std::string folder = com_ports::PortsFolder();
    fs::create_directories(folder);
    const std::string link = folder + "/COM" + std::to_string(n);
    // symlink() makes the link only where no name is: nothing is replaced,
    // even when another program makes one meanwhile.
    if (symlink(FSlavePath.c_str(), link.c_str()) != 0) {
        const int err = errno;
        std::error_code ec;
        const fs::path target = fs::read_symlink(link, ec);
        if (ec && err == EEXIST) {
            *refusal = link + " exists and is not a link";
        } else if (ec) {
            *refusal = link + ": " + std::strerror(err);
        } else {
            *refusal = link + " is a link to " + target.string();
            if (!fs::exists(link, ec)) *refusal += " (which does not exist)";
        }
        return false;
    }
    std::lock_guard<std::mutex> lock(FMutex);
    FInstalled.push_back(n);
    return true;
}

bool RadioSim::LoadMemory(const std::string& file, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(std::strerror(errno));
    std::array<uint8_t, 512> m;
    uint8_t extra;
    size_t got = 0;
    ssize_t n = 0;
    // One byte more than the memory: a longer file is refused too.
    while (got <= m.size() && (n = read(fd, got < m.size() ? m.data() + got : &extra,
                                        got < m.size() ? m.size() - got : 1)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            close(fd);
            return fail(std::strerror(err));
        }
        got += static_cast<size_t>(n);
    }
    close(fd);
    if (got != m.size()) return fail("does not hold exactly 512 bytes");
    SetMemory(m);
    return true;
}

bool RadioSim::SaveMemory(const std::string& file, std::string* error) const {
    const std::array<uint8_t, 512> m = Memory();
    std::string temp = file + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        *error = std::strerror(errno);
        return false;
    }
    size_t done = 0;
    while (done < m.size()) {
        const ssize_t n = write(fd, m.data() + done, m.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    int err = done == m.size() ? 0 : (errno ? errno : EIO);
    if (!err && fchmod(fd, 0644) != 0) err = errno;
    if (!err && fsync(fd) != 0) err = errno;
    if (close(fd) != 0 && !err) err = errno;
    if (!err && rename(temp.c_str(), file.c_str()) != 0) err = errno;
    if (err) {
        unlink(temp.c_str());
        *error = std::strerror(err);
        return false;
    }
    return true;
}

}  // namespace sim
