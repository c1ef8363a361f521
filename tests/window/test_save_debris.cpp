// Saves cut short leave nothing behind: the new content has no name in the
// folder until it is complete, saves killed at any moment leave the file
// whole, and what a killed save may still leave is cleared by the next
// save into that folder. Where the system makes no nameless files, or
// will not link one in, saves go by a temporary name instead.
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <stddef.h>
#include <sys/inotify.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <new>
#include <random>
#include <regex>
#include <thread>

#include "save_test_helpers.h"

namespace {

bool IsTemporaryName(const std::string& name) {
    static const std::regex form(R"(\.chantune-[0-9]+-[0-9]+\.tmp)");
    return std::regex_match(name, form);
}

// What the folder watched by `watch` saw since the last call, one entry
// per event and name: "create", "write", "close" (temporaries only),
// "move from", "move to" with the name's label. The kernel's own names for files not yet in the
// folder (they begin with '#') are left out; repeated entries count once.
std::vector<std::string> Seen(int watch, const std::function<std::string(const std::string&)>& label) {
    std::vector<std::string> seen;
    alignas(inotify_event) char buffer[16384];
    ssize_t n;
    while ((n = read(watch, buffer, sizeof buffer)) > 0) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            p += sizeof(inotify_event) + e->len;
            const std::string name = e->len ? e->name : "";
            if (name.empty() || name[0] == '#') continue;
            const std::string who = IsTemporaryName(name) ? "temporary" : label(name);
            if (e->mask & IN_CREATE) seen.push_back("create " + who);
            if (e->mask & IN_MODIFY) seen.push_back("write " + who);
            // The target itself is opened for writing only to test that
            // it may be written; its closing says nothing.
            if ((e->mask & IN_CLOSE_WRITE) && who == "temporary") seen.push_back("close " + who);
            if (e->mask & IN_MOVED_FROM) seen.push_back("move from " + who);
            if (e->mask & IN_MOVED_TO) seen.push_back("move to " + who);
        }
    }
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    return seen;
}

int WatchFolder(const std::string& dir) {
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch >= 0)
        inotify_add_watch(watch, dir.c_str(),
                          IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO);
    return watch;
}

#if defined(__x86_64__)
constexpr uint32_t ThisArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr uint32_t ThisArch = AUDIT_ARCH_AARCH64;
#else
constexpr uint32_t ThisArch = 0;
#endif

// Has the kernel refuse one system call of this process from now on with
// `error`, as a file system or system without the feature does: `call`
// when its argument number `arg` (from 0) has any of `flags`, every such
// call when `flags` is 0.
bool RefuseCall(long call, int arg, uint32_t flags, int error) {
    if (ThisArch == 0) return false;
    const uint32_t refuse = SECCOMP_RET_ERRNO | (static_cast<uint32_t>(error) & SECCOMP_RET_DATA);
    std::vector<sock_filter> program = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, ThisArch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(call), 0, static_cast<uint8_t>(flags ? 3 : 1)),
    };
    if (flags) {
        // The low half of the argument (both machines are little-endian).
        const uint32_t at = offsetof(seccomp_data, args) + sizeof(uint64_t) * static_cast<uint32_t>(arg);
        program.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, at));
        program.push_back(BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, flags, 0, 1));
    }
    program.push_back(BPF_STMT(BPF_RET | BPF_K, refuse));
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

// A process number that no process has any more.
pid_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

std::string TemporaryOf(pid_t pid, const std::string& n) {
    return ".chantune-" + std::to_string(pid) + "-" + n + ".tmp";
}

}  // namespace

TEST_F(SettingsSaveTest, NewContentHasNoNameUntilItIsComplete) {
    const std::string plain = dir + "/plain.tun";
    Put(plain, OldContent, 0644);
    const int watch = WatchFolder(dir);
    ASSERT_GE(watch, 0);
    const auto label = [](const std::string& name) { return name == "plain.tun" ? "file" : name; };

    // Over an existing file: the temporary name comes only once the content
    // is written and flushed, and goes at once onto the file.
    ASSERT_EQ(Save(plain), 0);
    EXPECT_EQ(Seen(watch, label),
              (std::vector<std::string>{"create temporary", "move from temporary", "move to file"}));
    EXPECT_TRUE(Content(plain) == expected) << plain;

    // A new file takes its own name, whole, and no other.
    ASSERT_EQ(Save(dir + "/new.tun"), 0);
    EXPECT_EQ(Seen(watch, label), std::vector<std::string>{"create new.tun"});
    EXPECT_TRUE(Content(dir + "/new.tun") == expected);
    close(watch);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"new.tun", "plain.tun"}));
}

TEST_F(SettingsSaveTest, SavesGoOnWhereTheSystemRefusesNamelessFilesOrTheirLinks) {
    if (ThisArch == 0) GTEST_SKIP() << "no system call filter for this machine";
    const std::vector<std::string> byTemporary = {
        "create temporary", "write temporary", "close temporary", "move from temporary", "move to file",
        "create temporary", "write temporary", "close temporary", "move from temporary", "move to new.tun"};
    const std::vector<std::string> nameless = {"create temporary", "move from temporary", "move to file",
                                               "create new.tun"};
    struct Refusal {
        const char* what;
        long call;
        int arg;
        uint32_t flags;
        int error;
        const std::vector<std::string>& seen;
    };
    const uint32_t tmpfileOnly = O_TMPFILE & ~O_DIRECTORY;
    const Refusal refusals[] = {
        {"file system without nameless files", SYS_openat, 2, tmpfileOnly, EOPNOTSUPP, byTemporary},
        {"kernel without nameless files", SYS_openat, 2, tmpfileOnly, EISDIR, byTemporary},
        {"nameless files refused", SYS_openat, 2, tmpfileOnly, EINVAL, byTemporary},
        {"nameless files that cannot be linked", SYS_linkat, 4, 0, ENOENT, byTemporary},
        // Linking straight from the descriptor needs a privilege on older
        // kernels; the file's entry in /proc serves any user.
        {"no link from the descriptor", SYS_linkat, 4, AT_EMPTY_PATH, ENOENT, nameless},
    };
    for (const Refusal& refusal : refusals) {
        const std::string folder = test_env::MakeTempDir("fallback");
        const std::string plain = folder + "/plain.tun";
        Put(plain, OldContent, 0640);
        const int watch = WatchFolder(folder);
        ASSERT_GE(watch, 0);
        const ChildOutcome child = InChild([&] {
            if (!RefuseCall(refusal.call, refusal.arg, refusal.flags, refusal.error))
                return std::string("no filter");
            const std::string replaced = std::to_string(Save(plain));
            return replaced + std::to_string(Save(folder + "/new.tun"));
        });
        ASSERT_TRUE(child.EndedNormally()) << refusal.what;
        EXPECT_EQ(child.report, "00") << refusal.what;
        const auto label = [](const std::string& name) { return name == "plain.tun" ? "file" : name; };
        EXPECT_EQ(Seen(watch, label), refusal.seen) << refusal.what;
        close(watch);
        EXPECT_TRUE(Content(plain) == expected) << refusal.what;
        EXPECT_EQ(Stat(plain).st_mode & 07777, 0640u) << refusal.what;
        EXPECT_TRUE(Content(folder + "/new.tun") == expected) << refusal.what;
        EXPECT_EQ(Names(folder), (std::vector<std::string>{"new.tun", "plain.tun"})) << refusal.what;
    }
}

TEST_F(SettingsSaveTest, TemporariesOfEndedSavesGoAtTheNextSaveIntoTheirFolder) {
    const pid_t ended = EndedProcess();
    const pid_t stopped = fork();
    if (stopped == 0) {
        raise(SIGSTOP);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(stopped, &status, WUNTRACED), stopped);
    ASSERT_TRUE(WIFSTOPPED(status));

    Put(dir + "/" + TemporaryOf(ended, "1"), OldContent.substr(0, 300), 0600);
    Put(dir + "/" + TemporaryOf(ended, "2"), "", 0600);
    std::vector<std::string> kept = {
        TemporaryOf(stopped, "1"),  // a save still under way
        TemporaryOf(ended, "1") + ".orig", ".chantune-0" + std::to_string(ended) + "-1.tmp",
        "chantune-" + std::to_string(ended) + "-1.tmp", TemporaryOf(ended, "x"), TemporaryOf(ended, ""),
        TemporaryOf(ended, "-1")};
    for (const std::string& name : kept) Put(dir + "/" + name, OldContent, 0600);
    fs::create_directory(dir + "/" + TemporaryOf(ended, "3"));
    fs::create_symlink("settings.tun", dir + "/" + TemporaryOf(ended, "4"));
    kept.push_back(TemporaryOf(ended, "3"));
    kept.push_back(TemporaryOf(ended, "4"));
    if (geteuid() == 0) {  // only root can make a file of another user
        Put(dir + "/" + TemporaryOf(ended, "5"), OldContent, 0600);
        ASSERT_EQ(chown((dir + "/" + TemporaryOf(ended, "5")).c_str(), Nobody, Nobody), 0);
        kept.push_back(TemporaryOf(ended, "5"));
    }
    // Another folder's leftovers wait for a save into that folder.
    const std::string other = dir + "/other";
    fs::create_directory(other);
    Put(other + "/" + TemporaryOf(ended, "1"), OldContent, 0600);
    kept.push_back("other");

    modal.script.fileAnswers.push_back(dir + "/settings.tun");
    Form1->N4->Click();
    EXPECT_EQ(LogLines().back(), "File with settings (" + dir + "/settings.tun) succefully created");
    kept.push_back("settings.tun");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Names(dir), kept);
    EXPECT_EQ(Names(other), std::vector<std::string>{TemporaryOf(ended, "1")});

    // A save written in place (the file has a second name) clears them too.
    Put(other + "/twice.tun", OldContent, 0644);
    fs::create_hard_link(other + "/twice.tun", other + "/second-name.tun");
    Form1->FFileName = other + "/twice.tun";
    modal.script.messageAnswers.push_back(IDYES);
    Form1->N3->Click();
    EXPECT_EQ(LogLines().back(), "File with settings (" + other + "/twice.tun) succefully rewroted");
    EXPECT_EQ(Names(other), (std::vector<std::string>{"second-name.tun", "twice.tun"}));
    EXPECT_TRUE(Content(other + "/second-name.tun") == expected);

    kill(stopped, SIGKILL);
    waitpid(stopped, nullptr, 0);
}

// A child saving two contents by turns, killed at random moments; after
// each kill the file holds one of them whole, and one save afterwards
// leaves no temporary file. Each child counts its finished saves where the
// test sees them, and is killed only once it has saved, at a moment of the
// saves after: a child that saves nothing (stuck on a lock another thread
// held at the fork) fails the test.
TEST_F(SettingsSaveTest, SavesKilledAtAnyMomentLeaveTheFileWholeAndNoDebris) {
    std::string contents[2];
    for (int i = 0; i < 2; ++i) {
        Form1->FChBx[0]->SetChecked(i == 1);
        ASSERT_EQ(Save(dir + "/content.tun"), 0);
        contents[i] = Content(dir + "/content.tun");
    }
    ASSERT_NE(contents[0], contents[1]);
    fs::remove(dir + "/content.tun");

    void* shared = mmap(nullptr, sizeof(std::atomic<unsigned>), PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* saved = new (shared) std::atomic<unsigned>(0);
    std::vector<std::string> folders = {test_env::MakeTempDir("killed")};
    std::string memoryFolder = "/dev/shm/chantune-killed-XXXXXX";
    if (access("/dev/shm", W_OK) == 0 && mkdtemp(memoryFolder.data())) folders.push_back(memoryFolder);

    using Clock = std::chrono::steady_clock;
    std::mt19937 random(14);
    for (const std::string& folder : folders) {
        const std::string target = folder + "/radio.tun";
        const auto before = Clock::now();
        EXPECT_EQ(Save(target), 0);
        // Kills spread over about three saves of this folder.
        const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - before);
        std::uniform_int_distribution<long> moment(0, 3 * saveTime.count());
        int broken = 0;
        for (int round = 0; round < 200; ++round) {
            *saved = 0;
            const pid_t child = fork();
            if (child == 0) {
                for (unsigned i = 0;; ++i) {
                    Form1->FChBx[0]->SetChecked(i % 2 == 1);
                    if (Save(target) == 0) ++*saved;
                }
            }
            const auto end = Clock::now() + std::chrono::seconds(10);
            while (*saved == 0 && Clock::now() < end) std::this_thread::sleep_for(std::chrono::microseconds(100));
            const bool working = *saved > 0;
            if (working) std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            if (!working) {
                ADD_FAILURE() << folder << ": the child of round " << round << " saved nothing in 10 s";
                break;
            }
            const std::string now = Content(target);
            if (now != contents[0] && now != contents[1]) ++broken;
        }
        EXPECT_EQ(broken, 0) << folder;
        EXPECT_EQ(Save(target), 0);
        EXPECT_EQ(Names(folder), std::vector<std::string>{"radio.tun"}) << folder;
        EXPECT_TRUE(Content(target) == contents[1]) << folder;
    }
    if (folders.size() > 1) fs::remove_all(folders.back());
    munmap(shared, sizeof(std::atomic<unsigned>));
}
