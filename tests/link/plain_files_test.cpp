// The file side of the Win32 stand-in on the real file system.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>

#include "platform/win32/win32.h"
#include "support/test_env.h"

namespace {

HANDLE Open(const std::string& name, DWORD access, DWORD creation, DWORD share = 0) {
    return CreateFileA(name.c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string Content(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

DWORD Err() { return GetLastError(); }

TEST(PlainFiles, WriteReadAndMissingFiles) {
    const std::string dir = test_env::MakeTempDir("files");
    const std::string name = dir + "/settings.tun";
    Put(name, "");

    HANDLE h = Open(name, GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_SUCCESS));
    std::string data(809, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &n, nullptr));
    EXPECT_EQ(n, 809u);
    BYTE b;
    EXPECT_FALSE(ReadFile(h, &b, 1, &n, nullptr));  // opened for writing only
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(Content(name), data);

    h = Open(name, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::string back(1000, 'x');
    EXPECT_TRUE(ReadFile(h, back.data(), 1000, &n, nullptr));
    EXPECT_EQ(n, 809u);
    EXPECT_EQ(back.substr(0, 809), data);
    EXPECT_TRUE(ReadFile(h, back.data(), 10, &n, nullptr));  // at the end: success, nothing
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(CloseHandle(h));

    EXPECT_EQ(Open(dir + "/missing", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Open(dir + "/no/such/folder", GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Open(name, GENERIC_READ, 99), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(PlainFiles, ReadOnlyFileRefusesWritingEvenForRoot) {
    const std::string dir = test_env::MakeTempDir("ro");
    const std::string name = dir + "/locked.tun";
    Put(name, "original");
    ASSERT_EQ(chmod(name.c_str(), 0444), 0);

    EXPECT_EQ(Open(name, GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Open(name, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Content(name), "original");
    HANDLE h = Open(name, GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);

    // A single write bit for anyone ends read-only; then the file system
    // decides as usual: the owner's own bits for its owner, nothing for
    // root.
    ASSERT_EQ(chmod(name.c_str(), 0464), 0);
    h = Open(name, GENERIC_WRITE, OPEN_EXISTING);
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) == 0);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    ASSERT_EQ(chmod(name.c_str(), 0644), 0);
    h = Open(name, GENERIC_WRITE, OPEN_EXISTING);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

TEST(PlainFiles, NonRegularFilesAndLongNamesFailAtOnce) {
    const std::string dir = test_env::MakeTempDir("odd");
    const std::string fifo = dir + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    const std::string sock = dir + "/sock";
    int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", sock.c_str());
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    struct Case {
        std::string name;
        DWORD access;
    };
    const Case cases[] = {
        {dir, GENERIC_READ},          {dir, GENERIC_WRITE},  {fifo, GENERIC_READ},
        {fifo, GENERIC_WRITE},        {sock, GENERIC_READ},  {"/dev/null", GENERIC_WRITE},
        {"/dev/zero", GENERIC_READ},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // In a thread, so that an open that blocks fails the test instead
        // of hanging it.
        auto result = std::async(std::launch::async, [&] {
            HANDLE h = Open(c.name, c.access, OPEN_EXISTING);
            return std::make_pair(h, GetLastError());
        });
        if (result.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
            ADD_FAILURE() << "open blocked";
            int unblock = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
            result.wait();
            close(unblock);
        }
        auto [h, err] = result.get();
        EXPECT_EQ(h, INVALID_HANDLE_VALUE);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        EXPECT_EQ(err, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    close(s);

    const std::string base = dir + "/";
    const std::string fits = base + std::string(255 - base.size(), 'a');
    Put(fits, "");
    EXPECT_TRUE(CloseHandle(Open(fits, GENERIC_WRITE, OPEN_EXISTING)));  // opens, and so closes
    const std::string tooLong = fits + "b";
    EXPECT_EQ(Open(tooLong, GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(Open("", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
}

TEST(PlainFiles, ShareModeZeroRefusesASecondOpener) {
    const std::string name = test_env::MakeTempDir("share") + "/busy.tun";
    Put(name, "content");
    HANDLE first = Open(name, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(name, GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    // Sharing openers do not exclude each other, but do exclude share 0.
    EXPECT_TRUE(CloseHandle(first));
    const DWORD shareRead = 1;
    HANDLE a = Open(name, GENERIC_READ, OPEN_EXISTING, shareRead);
    HANDLE b = Open(name, GENERIC_READ, OPEN_EXISTING, shareRead);
    EXPECT_NE(a, INVALID_HANDLE_VALUE);
    EXPECT_NE(b, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(name, GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    CloseHandle(a);
    CloseHandle(b);
    HANDLE again = Open(name, GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(again));
    EXPECT_FALSE(CloseHandle(again));
    EXPECT_EQ(Err(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
