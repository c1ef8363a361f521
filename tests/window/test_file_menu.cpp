// The File menu: Open, Save and Save As with their dialogs, questions and
// log lines, scripted through the modal seam over real files.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/vcl/user_interface.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr size_t FileSize = 809;
const char* const TunFilter = "Tunes files (*.tun)|*.tun|All files (*.*)|*.*";

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// A range-0 settings file with every row in use at code 0 and the given
// Volume byte.
Bytes SettingsWithVolume(uint8_t volume) {
    Bytes b(FileSize, 0);
    b[5] = volume;
    for (int i = 0; i < RowCount; ++i) b[9 + 8 * i] = 1;
    return b;
}

}  // namespace

class FileMenuTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateWindows();
        dir = test_env::MakeTempDir("menu");
    }

    void Open(const std::optional<String>& answer) {
        modal.script.fileAnswers.push_back(answer);
        Form1->OpenDialog1->FileName = "left over";
        Form1->N2->Click();
    }
    void SaveAs(const std::optional<String>& answer) {
        modal.script.fileAnswers.push_back(answer);
        Form1->SaveDialog1->FileName = "left over";
        Form1->N4->Click();
    }
    void Save() { Form1->N3->Click(); }

    // Lines added to the log since the last call.
    std::vector<std::string> NewLogLines() {
        std::vector<std::string> all = LogLines();
        std::vector<std::string> added(all.begin() + static_cast<long>(seenLines), all.end());
        seenLines = all.size();
        return added;
    }

    // Boxes and dialogs shown since the last call, as "kind: text / caption".
    std::vector<std::string> NewShown() {
        std::vector<std::string> added;
        for (size_t i = seenShown; i < modal.script.shown.size(); ++i) {
            const auto& s = modal.script.shown[i];
            if (s.kind == "message") {
                EXPECT_EQ(s.owner, Form1);
                const bool question = s.flags == (MB_ICONWARNING | MB_YESNO);
                EXPECT_TRUE(question || s.flags == MB_ICONWARNING) << s.text;
                added.push_back((question ? "question: " : "box: ") + s.text + " / " + s.caption);
            } else {
                added.push_back(s.kind);
            }
        }
        seenShown = modal.script.shown.size();
        return added;
    }

    static std::string Loaded(const std::string& name) {
        return "File with settings (" + name + ") loaded succefully";
    }
    static std::string Created(const std::string& name) {
        return "File with settings (" + name + ") succefully created";
    }
    static std::string Rewritten(const std::string& name) {
        return "File with settings (" + name + ") succefully rewroted";
    }

    std::string dir;
    size_t seenLines = 0;
    size_t seenShown = 0;
};

using Lines = std::vector<std::string>;

TEST_F(FileMenuTest, OpenCompletesTheNameAndLogsTheFullPath) {
    seenLines = LogLines().size();
    const std::string a = dir + "/a.tun";
    WriteBytes(a, SettingsWithVolume(3));
    Open(dir + "/a");
    EXPECT_EQ(Form1->FFileName, a);
    EXPECT_EQ(Form1->TrackBar6->Position(), 3);
    EXPECT_EQ(NewLogLines(), Lines{Loaded(a)});
    const auto* dialog = modal.script.Last("open");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->text, "Open settings file");
    EXPECT_EQ(dialog->caption, TunFilter);
    EXPECT_EQ(dialog->initialDir, ".");
    EXPECT_EQ(dialog->fileName, "");
    EXPECT_EQ(NewShown(), Lines{"open"});

    // An upper-case extension is kept.
    const std::string upper = dir + "/B.TUN";
    WriteBytes(upper, SettingsWithVolume(5));
    Open(upper);
    EXPECT_EQ(Form1->FFileName, upper);
    EXPECT_EQ(Form1->TrackBar6->Position(), 5);
    EXPECT_EQ(NewLogLines(), Lines{Loaded(upper)});
    EXPECT_EQ(NewShown(), Lines{"open"});

    // Only the name without the extension exists: it is not the file.
    WriteBytes(dir + "/notes.txt", SettingsWithVolume(7));
    Open(dir + "/notes.txt");
    EXPECT_EQ(Form1->FFileName, dir + "/notes.txt.tun");
    EXPECT_EQ(NewShown(), (Lines{"open", "box: Error file opening! / Warning!"}));
    EXPECT_EQ(NewLogLines(), Lines{});
    EXPECT_EQ(Form1->TrackBar6->Position(), 5);

    // A short name, given relative to the current folder.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    WriteBytes(dir + "/ab.tun", SettingsWithVolume(8));
    Open(String("ab"));
    fs::current_path(cwd);
    EXPECT_EQ(Form1->FFileName, dir + "/ab.tun");
    EXPECT_EQ(NewLogLines(), Lines{Loaded(dir + "/ab.tun")});

    // Cancel changes nothing.
    NewShown();
    Open(std::nullopt);
    EXPECT_EQ(Form1->FFileName, dir + "/ab.tun");
    EXPECT_EQ(NewShown(), Lines{"open"});
    EXPECT_EQ(NewLogLines(), Lines{});

    // A file that opens but is no settings file.
    const std::string bad = dir + "/bad.tun";
    WriteBytes(bad, Bytes(100, 1));
    Open(bad);
    EXPECT_EQ(NewShown(), (Lines{"open", "box: Error reading file! / WARNING!"}));
    EXPECT_EQ(NewLogLines(), Lines{"Error loading file of settins (" + bad + ")"});
    EXPECT_EQ(Form1->TrackBar6->Position(), 8);
    EXPECT_EQ(Form1->FFileName, bad);
}

TEST_F(FileMenuTest, SaveAsCreatesNewFilesAndAsksBeforeRewriting) {
    seenLines = LogLines().size();
    Form1->TrackBar6->SetPosition(6);
    const std::string fresh = dir + "/fresh.tun";
    SaveAs(dir + "/fresh");
    EXPECT_EQ(Form1->FFileName, fresh);
    EXPECT_EQ(ReadBytes(fresh).size(), FileSize);
    EXPECT_EQ(NewShown(), Lines{"save"});
    EXPECT_EQ(NewLogLines(), Lines{Created(fresh)});
    const auto* dialog = modal.script.Last("save");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->text, "Save settings file");
    EXPECT_EQ(dialog->caption, TunFilter);
    EXPECT_EQ(dialog->initialDir, ".");
    EXPECT_EQ(dialog->fileName, "");

    // Onto an existing file, answered No: nothing written or logged, but the
    // name is now the current one, and Save asks for it.
    const std::string other = dir + "/other.tun";
    const Bytes previous = SettingsWithVolume(2);
    WriteBytes(other, previous);
    modal.script.messageAnswers.push_back(IDNO);
    SaveAs(other);
    EXPECT_EQ(NewShown(), (Lines{"save", "question: File already exists. Rewrite? / Warning!"}));
    EXPECT_EQ(NewLogLines(), Lines{});
    EXPECT_EQ(ReadBytes(other), previous);
    EXPECT_EQ(Form1->FFileName, other);

    modal.script.messageAnswers.push_back(IDYES);
    Save();
    EXPECT_EQ(NewShown(), Lines{"question: Rewrite file? / Warning!"});
    EXPECT_EQ(NewLogLines(), Lines{Rewritten(other)});
    EXPECT_EQ(ReadBytes(other), ReadBytes(fresh));

    // Save answered No writes nothing.
    Form1->TrackBar6->SetPosition(1);
    modal.script.messageAnswers.push_back(IDNO);
    Save();
    EXPECT_EQ(NewShown(), Lines{"question: Rewrite file? / Warning!"});
    EXPECT_EQ(NewLogLines(), Lines{});
    EXPECT_EQ(ReadBytes(other)[5], 6);

    // Save As onto an existing file answered Yes.
    modal.script.messageAnswers.push_back(IDYES);
    SaveAs(fresh);
    EXPECT_EQ(NewShown(), (Lines{"save", "question: File already exists. Rewrite? / Warning!"}));
    EXPECT_EQ(NewLogLines(), Lines{Rewritten(fresh)});
    EXPECT_EQ(ReadBytes(fresh)[5], 1);

    // A name that ends in ".txt" gains ".tun"; Cancel changes nothing.
    SaveAs(dir + "/notes.txt");
    EXPECT_EQ(Form1->FFileName, dir + "/notes.txt.tun");
    EXPECT_TRUE(fs::exists(dir + "/notes.txt.tun"));
    EXPECT_EQ(NewLogLines(), Lines{Created(dir + "/notes.txt.tun")});
    SaveAs(std::nullopt);
    EXPECT_EQ(Form1->FFileName, dir + "/notes.txt.tun");
    EXPECT_EQ(NewLogLines(), Lines{});
}

TEST_F(FileMenuTest, SaveWithoutAWritableCurrentFileRunsSaveAs) {
    seenLines = LogLines().size();
    // Nothing opened or saved yet.
    Save();
    EXPECT_EQ(NewShown(), Lines{"save"});
    EXPECT_EQ(NewLogLines(), Lines{});
    EXPECT_EQ(Form1->FFileName, "");

    // Open of a missing name makes it the current name; Save finds no file.
    const std::string missing = dir + "/missing.tun";
    Open(missing);
    EXPECT_EQ(Form1->FFileName, missing);
    EXPECT_EQ(NewShown(), (Lines{"open", "box: Error file opening! / Warning!"}));
    const std::string chosen = dir + "/chosen.tun";
    modal.script.fileAnswers.push_back(chosen);
    Save();
    EXPECT_EQ(NewShown(), Lines{"save"});
    EXPECT_EQ(NewLogLines(), Lines{Created(chosen)});
    EXPECT_FALSE(fs::exists(missing));

    // After a successful Open, Save writes back into the opened file.
    const std::string opened = dir + "/opened.tun";
    WriteBytes(opened, SettingsWithVolume(4));
    Open(opened);
    Form1->TrackBar6->SetPosition(9);
    modal.script.messageAnswers.push_back(IDYES);
    Save();
    EXPECT_EQ(NewShown(), (Lines{"open", "question: Rewrite file? / Warning!"}));
    EXPECT_EQ(NewLogLines(), (Lines{Loaded(opened), Rewritten(opened)}));
    EXPECT_EQ(ReadBytes(opened)[5], 9);

    // The current file deleted meanwhile: Save shows the save dialog.
    fs::remove(opened);
    Save();
    EXPECT_EQ(NewShown(), Lines{"save"});
    EXPECT_EQ(NewLogLines(), Lines{});
    EXPECT_FALSE(fs::exists(opened));
}

TEST_F(FileMenuTest, FilesThatCannotBeWrittenOrReadAreRefused) {
    seenLines = LogLines().size();
    // A read-only file: no question, the write fails, the file stays.
    const std::string readOnly = dir + "/readonly.tun";
    const Bytes previous = SettingsWithVolume(2);
    WriteBytes(readOnly, previous);
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    SaveAs(readOnly);
    EXPECT_EQ(NewShown(), (Lines{"save", "box: Error writing file! / WARNING!"}));
    EXPECT_EQ(NewLogLines(), Lines{"Error creating settings file (" + readOnly + ")"});
    EXPECT_EQ(ReadBytes(readOnly), previous);
    EXPECT_EQ(Form1->FFileName, readOnly);

    // A folder, a FIFO and a device, refused at once.
    fs::create_directory(dir + "/folder.tun");
    const std::string fifo = dir + "/pipe.tun";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink("/dev/null", dir + "/null.tun");
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& name : {dir + "/folder.tun", fifo, dir + "/null.tun"}) {
        Open(name);
        EXPECT_EQ(NewShown(), (Lines{"open", "box: Error file opening! / Warning!"})) << name;
        EXPECT_EQ(NewLogLines(), Lines{}) << name;
        SaveAs(name);
        EXPECT_EQ(NewShown(), (Lines{"save", "box: Error writing file! / WARNING!"})) << name;
        EXPECT_EQ(NewLogLines(), Lines{"Error creating settings file (" + name + ")"}) << name;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(fs::is_directory(dir + "/folder.tun"));
    EXPECT_TRUE(fs::is_fifo(fifo));

    // A name over 255 characters, whose first 255 name another file.
    const std::string cut = dir + "/" + std::string(255 - dir.size() - 1 - 3, 'c') + ".tu";
    ASSERT_EQ(cut.size(), 255u);
    WriteBytes(cut, previous);
    SaveAs(cut + "n");
    EXPECT_EQ(NewShown(), (Lines{"save", "box: Error writing file! / WARNING!"}));
    EXPECT_EQ(NewLogLines(), Lines{"Error creating settings file (" + cut + "n)"});
    EXPECT_EQ(ReadBytes(cut), previous);
    EXPECT_FALSE(fs::exists(cut + "n"));
    Open(cut + "n");
    EXPECT_EQ(NewShown(), (Lines{"open", "box: Error file opening! / Warning!"}));

    // The current file's folder made read-only: nothing new can be put
    // beside the file, but the file itself may still be written, so the
    // rewrite goes into it and leaves nothing else in the folder.
    const std::string current = dir + "/current.tun";
    WriteBytes(current, previous);
    Open(current);
    EXPECT_EQ(NewLogLines(), Lines{Loaded(current)});
    Form1->TrackBar6->SetPosition(7);
    const auto before = std::distance(fs::directory_iterator(dir), fs::directory_iterator());
    modal.script.messageAnswers.push_back(IDYES);
    ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
    Save();
    chmod(dir.c_str(), 0755);
    EXPECT_EQ(NewShown(), (Lines{"open", "question: Rewrite file? / Warning!"}));
    EXPECT_EQ(NewLogLines(), Lines{Rewritten(current)});
    Bytes expected = previous;
    expected[5] = 7;
    EXPECT_EQ(ReadBytes(current), expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), before);
}
