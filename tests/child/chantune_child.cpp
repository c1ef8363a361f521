// chantune-child: the full edition started exactly as its entry function
// starts it, for tests that need the program as a process of its own (how
// it ends, what it leaves behind). The test chooses the lock folder and
// gives it a machine without serial devices of its own:
//   chantune-child LOCK_FOLDER EMPTY_FOLDER
// The ports come from the ports folder of the environment. Once the main
// window shows, the child takes one command a line on its standard input
// and answers on its standard output:
//   connect  clicks Connection; answers "connected" or "not connected"
//   read     clicks Read (it answers nothing: the click blocks the window
//            as long as the exchange lasts)
//   exit     clicks Exit
//   menu     chooses File > Exit by the keyboard: F10, Down, Down x3, Return
//   close    closes the main window, as its close box does
// When the message loop ends it prints the log lines, each as "log: TEXT".
#include <QCoreApplication>
#include <QMenu>
#include <QSocketNotifier>
#include <QTest>
#include <QWindow>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "About.h"
#include "FreqInput.h"
#include "main_form.h"
#include "platform/win32/com_ports.h"
#include "platform/win32/port_lock.h"
#include "startup.h"

namespace {

void Answer(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

void Press(Qt::Key key) { QTest::keyClick(Form1->Widget()->windowHandle(), key); }

void Command(const std::string& command) {
    if (command == "connect") {
        QTest::mouseClick(Form1->Button2->Widget(), Qt::LeftButton);
        Answer(Connected ? "connected" : "not connected");
    } else if (command == "read") {
        QTest::mouseClick(Form1->Button3->Widget(), Qt::LeftButton);
    } else if (command == "exit") {
        QTest::mouseClick(Form1->Button1->Widget(), Qt::LeftButton);
    } else if (command == "menu") {
        auto* file = static_cast<QMenu*>(static_cast<QObject*>(Form1->N1->Action()));
        Form1->Widget()->activateWindow();
        if (!QTest::qWaitForWindowActive(Form1->Widget())) return Answer("not active");
        Press(Qt::Key_F10);
        Press(Qt::Key_Down);
        if (!QTest::qWaitFor([&] { return file->isVisible(); }, 5000)) return Answer("no menu");
        for (int i = 0; i < 3; ++i) QTest::keyClick(file, Qt::Key_Down);
        QTest::keyClick(file, Qt::Key_Return);
    } else if (command == "close") {
        Form1->Widget()->close();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: chantune-child LOCK_FOLDER EMPTY_FOLDER\n");
        return 2;
    }
    port_lock::SetFolder(argv[1]);
    com_ports::SetDeviceRoots(argv[2], argv[2]);
    return RunGuarded([] {
        Application->Initialize();
        CreateMainForm();
        Application->CreateForm(FormFreqInput);
        Application->CreateForm(AboutBox);

        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        std::string pending;
        QObject::connect(&input, &QSocketNotifier::activated, [&] {
            char bytes[256];
            const ssize_t n = read(STDIN_FILENO, bytes, sizeof bytes);
            if (n <= 0) return input.setEnabled(false);
            pending.append(bytes, static_cast<size_t>(n));
            for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
                const std::string command = pending.substr(0, end);
                pending.erase(0, end + 1);
                Command(command);
            }
        });
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
            for (const String& line : Form1->Memo1->Lines().Items()) std::printf("log: %s\n", line.c_str());
            std::fflush(stdout);
        });
        Application->Run();
    });
}
