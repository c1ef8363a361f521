// Saving through symbolic links from the File menu, in either edition: the
// file at the end of the links is written or created, the links stay.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "main_window_fixture.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every entry under `dir`, as "name" for files, "name -> target" for links
// and "name/" for folders, their contents after them.
Lines Tree(const std::string& dir) {
    Lines names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        std::string name = e.path().lexically_relative(dir).string();
        if (e.is_symlink()) name += " -> " + fs::read_symlink(e.path()).string();
        else if (e.is_directory()) name += "/";
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

class SaveThroughLinksTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateWindows();
        dir = test_env::MakeTempDir("links");
        // Rows of the window's own, so the content is not the default one.
        Form1->FChBx[4]->SetChecked(true);
        Form1->FCtcssRx[4] = 9;
        Form1->FFileName = dir + "/reference.tun";
        ASSERT_EQ(Form1->SaveSettings(), 0);
        expected = Content(Form1->FFileName);
        ASSERT_EQ(expected.size(), 809u);
        fs::remove(Form1->FFileName);
        seenLines = LogLines().size();
    }

    // Save As onto `name`, answering Yes to any question; what the window
    // showed: the question or box, then the log line.
    Lines SaveAs(const std::string& name) {
        modal.script.fileAnswers.push_back(name);
        modal.script.messageAnswers.push_back(IDYES);
        Form1->N4->Click();
        return Shown();
    }
    Lines Save() {
        modal.script.messageAnswers.push_back(IDYES);
        Form1->N3->Click();
        return Shown();
    }
    Lines Shown() {
        Lines shown;
        for (size_t i = seenShown; i < modal.script.shown.size(); ++i)
            if (modal.script.shown[i].kind == "message") shown.push_back(modal.script.shown[i].text);
        seenShown = modal.script.shown.size();
        const std::vector<String> all = LogLines();
        shown.insert(shown.end(), all.begin() + static_cast<long>(seenLines), all.end());
        seenLines = all.size();
        modal.script.messageAnswers.clear();
        return shown;
    }
    static std::string Created(const std::string& name) {
        return "File with settings (" + name + ") succefully created";
    }
    static std::string Rewritten(const std::string& name) {
        return "File with settings (" + name + ") succefully rewroted";
    }

    std::string dir;
    std::string expected;
    size_t seenLines = 0;
    size_t seenShown = 0;
};

TEST_F(SaveThroughLinksTest, LinksToNoFileCreateTheFileTheyName) {
    fs::create_directory(dir + "/sub");
    fs::create_directory(dir + "/far");
    fs::create_symlink("beside.tun", dir + "/relative.tun");
    fs::create_symlink("sub/inner.tun", dir + "/into.tun");
    fs::create_symlink(dir + "/far/absolute.tun", dir + "/absolute.tun");
    // A chain: relative, then absolute, then relative from the far folder.
    fs::create_symlink("hop.tun", dir + "/chain.tun");
    fs::create_symlink(dir + "/far/hop2.tun", dir + "/hop.tun");
    fs::create_symlink("../sub/end.tun", dir + "/far/hop2.tun");

    for (const std::string name : {"relative", "into", "absolute", "chain"}) {
        const std::string link = dir + "/" + name + ".tun";
        EXPECT_EQ(SaveAs(link), Lines{Created(link)}) << name;
        EXPECT_TRUE(fs::is_symlink(link)) << name;
        EXPECT_TRUE(Content(link) == expected) << name;
    }
    EXPECT_EQ(Tree(dir), (Lines{"absolute.tun -> " + dir + "/far/absolute.tun", "beside.tun",
                                "chain.tun -> hop.tun", "far/", "far/absolute.tun",
                                "far/hop2.tun -> ../sub/end.tun", "hop.tun -> " + dir + "/far/hop2.tun",
                                "into.tun -> sub/inner.tun", "relative.tun -> beside.tun", "sub/",
                                "sub/end.tun", "sub/inner.tun"}));
    const mode_t umaskNow = umask(022);
    umask(umaskNow);
    for (const std::string made : {"beside.tun", "far/absolute.tun", "sub/end.tun", "sub/inner.tun"}) {
        struct stat st {};
        ASSERT_EQ(lstat((dir + "/" + made).c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode)) << made;
        EXPECT_EQ(st.st_mode & 0777, 0666u & ~umaskNow) << made;
    }

    // The current name is the link: Save finds the file now and rewrites it.
    Form1->FChBx[4]->SetChecked(false);
    EXPECT_EQ(Save(), (Lines{"Rewrite file?", Rewritten(dir + "/chain.tun")}));
    EXPECT_TRUE(fs::is_symlink(dir + "/chain.tun"));
    EXPECT_EQ(Content(dir + "/sub/end.tun")[9 + 8 * 4], 0);
}

TEST_F(SaveThroughLinksTest, LinksToExistingFilesRewriteThem) {
    const std::string old(809, '\x11');
    fs::create_directory(dir + "/real");
    std::ofstream(dir + "/real/file.tun", std::ios::binary) << old;
    ASSERT_EQ(chmod((dir + "/real/file.tun").c_str(), 0640), 0);
    fs::create_symlink("real/file.tun", dir + "/relative.tun");
    fs::create_symlink(dir + "/relative.tun", dir + "/absolute.tun");

    EXPECT_EQ(SaveAs(dir + "/relative.tun"),
              (Lines{"File already exists. Rewrite?", Rewritten(dir + "/relative.tun")}));
    EXPECT_TRUE(Content(dir + "/real/file.tun") == expected);
    std::ofstream(dir + "/real/file.tun", std::ios::binary | std::ios::trunc) << old;
    Form1->FFileName = dir + "/absolute.tun";
    EXPECT_EQ(Save(), (Lines{"Rewrite file?", Rewritten(dir + "/absolute.tun")}));
    EXPECT_TRUE(Content(dir + "/real/file.tun") == expected);
    struct stat st {};
    ASSERT_EQ(stat((dir + "/real/file.tun").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Tree(dir), (Lines{"absolute.tun -> " + dir + "/relative.tun", "real/", "real/file.tun",
                                "relative.tun -> real/file.tun"}));
}

TEST_F(SaveThroughLinksTest, LinksIntoNoFolderOrInALoopFailAsACreate) {
    // ".." is taken from the folder the link really lies in: through the
    // folder link "view", "../up.tun" is beside "real", not beside "view".
    fs::create_directories(dir + "/real/inner");
    fs::create_symlink("real/inner", dir + "/view");
    fs::create_symlink("../up.tun", dir + "/real/inner/up-link.tun");
    EXPECT_EQ(SaveAs(dir + "/view/up-link.tun"), Lines{Created(dir + "/view/up-link.tun")});
    EXPECT_TRUE(Content(dir + "/real/up.tun") == expected);

    fs::create_symlink("missing/file.tun", dir + "/nowhere.tun");
    fs::create_symlink(dir + "/gone/deeper/file.tun", dir + "/gone.tun");
    fs::create_symlink("loop-b.tun", dir + "/loop-a.tun");
    fs::create_symlink("loop-a.tun", dir + "/loop-b.tun");
    fs::create_symlink("real/", dir + "/folder.tun");
    for (const std::string name : {"nowhere", "gone", "loop-a", "folder"}) {
        const std::string link = dir + "/" + name + ".tun";
        EXPECT_EQ(SaveAs(link), (Lines{"Error writing file!", "Error creating settings file (" + link + ")"}))
            << name;
    }
    EXPECT_EQ(Tree(dir), (Lines{"folder.tun -> real/", "gone.tun -> " + dir + "/gone/deeper/file.tun",
                                "loop-a.tun -> loop-b.tun", "loop-b.tun -> loop-a.tun",
                                "nowhere.tun -> missing/file.tun", "real/", "real/inner/",
                                "real/inner/up-link.tun -> ../up.tun", "real/up.tun",
                                "view -> real/inner"}));
}

TEST_F(SaveThroughLinksTest, InASharedStickyFolderOnlyTheSaversOrTheOwnersLinksAreFollowed) {
    // Only root can make a link that belongs to another user.
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give links to another user";
    constexpr uid_t Saver = 0, Other = 65534;
    struct Case {
        uid_t linkOwner, folderOwner;
        mode_t folderMode;
        bool followed;
    };
    const Case cases[] = {
        {Other, Saver, 01777, false},  // another user's link, as in /tmp
        {Other, Other, 01777, true},   // the folder owner's link
        {Saver, Other, 01777, true},   // the saver's own link
        {Other, Saver, 0777, true},    // not sticky: followed as anywhere else
    };
    const std::string old(809, '\x11');
    fs::create_directory(dir + "/real");
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(++n);
        const std::string shared = dir + "/shared" + std::to_string(n);
        const std::string file = dir + "/real/file.tun";
        const std::string made = dir + "/real/made" + std::to_string(n) + ".tun";
        std::ofstream(file, std::ios::binary | std::ios::trunc) << old;
        ASSERT_EQ(chmod(file.c_str(), 0600), 0);
        fs::create_directory(shared);
        ASSERT_EQ(chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(chmod(shared.c_str(), c.folderMode), 0);
        const std::string toFile = shared + "/file.tun", toMade = shared + "/made.tun";
        for (const auto& [link, to] : {std::pair{toFile, file}, std::pair{toMade, made}}) {
            fs::create_symlink(to, link);
            ASSERT_EQ(lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);
        }
        const Lines before = Tree(dir);
        if (c.followed) {
            EXPECT_EQ(SaveAs(toFile), (Lines{"File already exists. Rewrite?", Rewritten(toFile)}));
            EXPECT_EQ(SaveAs(toMade), Lines{Created(toMade)});
            EXPECT_TRUE(Content(file) == expected && Content(made) == expected);
            continue;
        }
        for (const std::string& link : {toFile, toMade})
            EXPECT_EQ(SaveAs(link),
                      (Lines{"Error writing file!", "Error creating settings file (" + link + ")"}));
        EXPECT_TRUE(Content(file) == old);
        EXPECT_EQ(Tree(dir), before);
    }
}
