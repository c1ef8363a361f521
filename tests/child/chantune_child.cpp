// chantune-child LOCK_FOLDER EMPTY_FOLDER: the full edition started as its
// entry function starts it, for the tests of how it ends as a process of
// its own. The test chooses the lock folder and gives it a machine without
// serial devices; the ports come from the environment's ports folder.
// Once the main window shows it takes one command a line on its standard
// input and answers on its standard output:
//   connect  clicks Connection; answers "connected" or "not connected"
//   read     clicks Read (no answer: the click blocks the window as long
//            as the exchange lasts)
//   write    clicks Write channels (no answer, as read)
//   exit     clicks Exit
//   menu     File > Exit by the keyboard: F10, Down, Down x3, Return
//   close    closes the main window, as its close box does
// When the message loop ends it prints each log line as "log: TEXT".
#include <QCoreApplication>
#include <QMenu>
#include <QSocketNotifier>
#include <QTest>
#include <QWindow>
#include <unistd.h>

#include <cstdio>
#include <iostream>
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

void Command(const std::string& command) {
    if (command == "connect") {
        QTest::mouseClick(Form1->Button2->Widget(), Qt::LeftButton);
        Answer(Connected ? "connected" : "not connected");
    } else if (command == "read") {
        QTest::mouseClick(Form1->Button3->Widget(), Qt::LeftButton);
    } else if (command == "write") {
        QTest::mouseClick(Form1->Button8->Widget(), Qt::LeftButton);
    } else if (command == "exit") {
        QTest::mouseClick(Form1->Button1->Widget(), Qt::LeftButton);
    } else if (command == "menu") {
        auto* file = static_cast<QMenu*>(static_cast<QObject*>(Form1->N1->Action()));
        Form1->Widget()->activateWindow();
        if (!QTest::qWaitForWindowActive(Form1->Widget())) return Answer("not active");
        for (Qt::Key key : {Qt::Key_F10, Qt::Key_Down}) QTest::keyClick(Form1->Widget()->windowHandle(), key);
        if (!QTest::qWaitFor([&] { return file->isVisible(); }, 5000)) return Answer("no menu");
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) QTest::keyClick(file, key);
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

        std::setvbuf(stdin, nullptr, _IONBF, 0);  // lines not read yet stay for the notifier
        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, [&] {
            std::string command;
            if (std::getline(std::cin, command)) Command(command);
            else input.setEnabled(false);
        });
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
            for (const String& line : Form1->Memo1->Lines().Items()) std::printf("log: %s\n", line.c_str());
            std::fflush(stdout);
        });
        Application->Run();
    });
}
