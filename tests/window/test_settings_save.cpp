// Saving settings files over what is already on the disk: the file stays
// the file it was (links, owner, attributes), long names save, and a save
// refused by the file-size limit is a failure the program survives.
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "save_test_helpers.h"
#include "startup.h"

TEST_F(SettingsSaveTest, FileSizeLimitFailsTheSaveAndTheProgramGoesOn) {
    const std::string fresh = dir + "/fresh.tun";
    const std::string plain = dir + "/plain.tun";
    const std::string linked = dir + "/linked.tun";
    Put(plain, OldContent, 0644);
    Put(linked, OldContent, 0644);
    fs::create_hard_link(linked, dir + "/other-name.tun");
    Form1->Memo1->Lines().Clear();

    // A process as the system starts it, under a limit below 809 bytes,
    // saving through the File menu and the writer of each kind.
    const ChildOutcome child = InChild([&] {
        signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 400;
        setrlimit(RLIMIT_FSIZE, &limit);
        RunGuarded([&] {
            modal.script.fileAnswers.push_back(fresh);
            Form1->N4->Click();
            modal.script.fileAnswers.push_back(plain);
            modal.script.messageAnswers.push_back(IDYES);
            Form1->N4->Click();
            Form1->FFileName = linked;  // written in place: two names
            modal.script.messageAnswers.push_back(IDYES);
            Form1->N3->Click();
        });
        return Shown();
    });
    ASSERT_TRUE(child.EndedNormally()) << "status " << child.status;
    EXPECT_EQ(child.report,
              "log: Error creating settings file (" + fresh + ")\n"
              "log: Error of rewriting settings file (" + plain + ")\n"
              "log: Error of rewriting settings file (" + linked + ")\n"
              "box: Error writing file!\n"
              "box: File already exists. Rewrite?\n"
              "box: Error writing file!\n"
              "box: Rewrite file?\n"
              "box: Error writing file!\n");
    EXPECT_TRUE(Content(plain) == OldContent) << plain;
    EXPECT_TRUE(Content(linked) == OldContent) << linked;
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"linked.tun", "other-name.tun", "plain.tun"}));
}

TEST_F(SettingsSaveTest, FilesKeepTheirLinksModeAndAttributes) {
    // Two names for one file: both show the new content.
    const std::string linked = dir + "/linked.tun";
    Put(linked, OldContent, 0640);
    fs::create_hard_link(linked, dir + "/other-name.tun");
    const ino_t inode = Stat(linked).st_ino;
    ASSERT_EQ(Save(linked), 0);
    EXPECT_TRUE(Content(dir + "/other-name.tun") == expected) << dir + "/other-name.tun";
    EXPECT_EQ(Stat(linked).st_ino, inode);
    EXPECT_EQ(Stat(linked).st_nlink, 2u);
    EXPECT_EQ(Stat(linked).st_mode & 07777, 0640u);

    // A longer old file ends where the settings end.
    const std::string longer = dir + "/longer.tun";
    Put(longer, OldContent + OldContent, 0604);
    fs::create_hard_link(longer, dir + "/longer-too.tun");
    ASSERT_EQ(Save(longer), 0);
    EXPECT_TRUE(Content(longer) == expected) << longer;

    // Extended attributes (ACLs are kept the same way) stay on the file.
    const std::string marked = dir + "/marked.tun";
    Put(marked, OldContent, 0600);
    if (setxattr(marked.c_str(), "user.origin", "radio", 5, 0) == 0) {
        ASSERT_EQ(Save(marked), 0);
        EXPECT_TRUE(Content(marked) == expected) << marked;
        char value[16] = {};
        EXPECT_EQ(getxattr(marked.c_str(), "user.origin", value, sizeof value), 5);
        EXPECT_STREQ(value, "radio");
    } else {
        EXPECT_EQ(errno, ENOTSUP) << "file system without user attributes";
    }
    EXPECT_EQ(modal.script.Count("message"), 0);
}

TEST_F(SettingsSaveTest, EveryNameUpTo255CharactersSaves) {
    const std::string folder = dir + "/" + std::string(248 - dir.size() - 1, 'f');
    ASSERT_EQ(folder.size(), 248u);
    fs::create_directory(folder);
    for (const std::string name : {"abcd", "ab.tun"}) {
        const std::string path = folder + "/" + name;
        ASSERT_EQ(Save(path), 0) << path.size();  // new
        EXPECT_TRUE(Content(path) == expected) << path;
        Put(path, OldContent, 0644);
        ASSERT_EQ(Save(path), 0) << path.size();  // over an existing file
        EXPECT_TRUE(Content(path) == expected) << path;
    }
    // Save As from the File menu, over the 255-character name.
    modal.script.fileAnswers.push_back(folder + "/ab.tun");
    modal.script.messageAnswers.push_back(IDYES);
    Form1->N4->Click();
    EXPECT_EQ(LogLines().back(), "File with settings (" + folder + "/ab.tun) succefully rewroted");
    EXPECT_EQ(modal.script.Count("message"), 1);
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"ab.tun", "abcd"}));
}

// Files of other owners and folders closed to the user: prepared as root,
// saved by an ordinary user.
TEST_F(SettingsSaveTest, OtherOwnersAndClosedFolders) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to prepare files of another owner";
    std::string base = (fs::temp_directory_path() / "chantune-owners-XXXXXX").string();
    ASSERT_NE(mkdtemp(base.data()), nullptr);
    chmod(base.c_str(), 0755);
    // A folder of root's with a file of the user's in it.
    const std::string closed = base + "/closed";
    fs::create_directory(closed);
    const std::string mine = closed + "/mine.tun";
    Put(mine, OldContent, 0644);
    ASSERT_EQ(chown(mine.c_str(), Nobody, Nobody), 0);
    // The user's folder, with a file of root's that anyone may write and
    // one of the user's own.
    const std::string open = base + "/open";
    fs::create_directory(open);
    ASSERT_EQ(chown(open.c_str(), Nobody, Nobody), 0);
    const std::string theirs = open + "/theirs.tun";
    Put(theirs, OldContent, 0666);
    const std::string own = open + "/own.tun";
    Put(own, OldContent, 0640);
    ASSERT_EQ(chown(own.c_str(), Nobody, Nobody), 0);
    const ino_t mineInode = Stat(mine).st_ino;
    const ino_t theirsInode = Stat(theirs).st_ino;

    const ChildOutcome child = InChild([&] {
        if (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0) return std::string("no user");
        return std::to_string(Save(mine)) + std::to_string(Save(theirs)) + std::to_string(Save(own));
    });
    ASSERT_TRUE(child.EndedNormally());
    EXPECT_EQ(child.report, "000");

    EXPECT_TRUE(Content(mine) == expected) << mine;
    EXPECT_EQ(Stat(mine).st_ino, mineInode);
    EXPECT_EQ(Stat(mine).st_uid, Nobody);
    EXPECT_TRUE(Content(theirs) == expected) << theirs;
    EXPECT_EQ(Stat(theirs).st_ino, theirsInode);
    EXPECT_EQ(Stat(theirs).st_uid, 0u);
    EXPECT_EQ(Stat(theirs).st_mode & 07777, 0666u);
    EXPECT_TRUE(Content(own) == expected) << own;
    EXPECT_EQ(Stat(own).st_uid, Nobody);
    EXPECT_EQ(Stat(own).st_gid, static_cast<gid_t>(Nobody));
    EXPECT_EQ(Stat(own).st_mode & 07777, 0640u);
    EXPECT_EQ(Names(closed), std::vector<std::string>{"mine.tun"});
    EXPECT_EQ(Names(open), (std::vector<std::string>{"own.tun", "theirs.tun"}));
    fs::remove_all(base);
}
