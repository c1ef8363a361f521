// Saving settings files over real files: the helpers and the fixture the
// save tests share. The window's own content is saved once first, so each
// test knows the bytes a save must leave.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "main_window_fixture.h"

namespace save_test {

namespace fs = std::filesystem;

constexpr uid_t Nobody = 65534;
inline const std::string OldContent(809, '\xAB');

inline std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void Put(const std::string& path, const std::string& content, mode_t mode) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    chmod(path.c_str(), mode);
}

inline struct stat Stat(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st;
}

inline std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct ChildOutcome {
    int status = 0;
    std::string report;
    bool EndedNormally() const { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }
};

// Runs `body` in a child process and collects what it reports.
inline ChildOutcome InChild(const std::function<std::string()>& body) {
    ChildOutcome outcome;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return outcome;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        const std::string report = body();
        (void)!write(pipeFds[1], report.data(), report.size());
        _exit(0);
    }
    close(pipeFds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) outcome.report.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    waitpid(child, &outcome.status, 0);
    return outcome;
}

}  // namespace save_test

using namespace save_test;

class SettingsSaveTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateWindows();
        dir = test_env::MakeTempDir("save");
        // Something of the window's own, unlike any old content.
        Form1->TrackBar6->SetPosition(7);
        Form1->FTrackRx[3]->SetPosition(17);
        ASSERT_EQ(Save(dir + "/reference.tun"), 0);
        expected = Content(dir + "/reference.tun");
        ASSERT_EQ(expected.size(), 809u);
        fs::remove(dir + "/reference.tun");
    }

    int Save(const std::string& name) {
        Form1->FFileName = name;
        return Form1->SaveSettings();
    }

    // What the window shows after a run: log lines and message boxes.
    std::string Shown() const {
        std::string s;
        for (const auto& line : LogLines()) s += "log: " + line + "\n";
        for (const auto& box : modal.script.shown)
            if (box.kind == "message") s += "box: " + box.text + "\n";
        return s;
    }

    std::string dir;
    std::string expected;
};
