// A log memo while a handler holds the program (as an exchange with the
// radio does): each new line reaches the window's pixels at once, and
// input that arrives meanwhile runs no handler until the first one ends.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QWindow>

#include "platform/vcl/vcl.h"
#include "vcl/keyboard_helpers.h"

namespace {

// What the window shows now: its backing store, as the screen has it. A
// grab of the widget would paint it afresh and prove nothing.
QImage OnScreen(QWidget* window) {
    return window->windowHandle()->screen()->grabWindow(window->winId()).toImage();
}

// The dark (text) pixels of the memo's last line in a picture of the
// window, -1 when that line lies outside the memo's visible area.
int InkOfLastLine(const QImage& shot, TMemo* memo, QWidget* window) {
    auto* text = static_cast<QPlainTextEdit*>(memo->Widget());
    QTextCursor last(text->document()->lastBlock());
    QRect line = text->cursorRect(last);
    line.setLeft(0);
    line.setRight(text->viewport()->width() - 1);
    if (!text->viewport()->rect().contains(line)) return -1;
    const QRect inWindow(text->viewport()->mapTo(window, line.topLeft()), line.size());
    const qreal scale = shot.devicePixelRatio();
    int ink = 0;
    for (int y = inWindow.top(); y <= inWindow.bottom(); ++y)
        for (int x = inWindow.left(); x <= inWindow.right(); ++x)
            if (QColor(shot.pixel(int(x * scale), int(y * scale))).lightness() < 100) ++ink;
    return ink;
}

void PostClick(QWidget* w) {
    const QPointF at = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(at);
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                   Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                   Qt::NoButton, Qt::NoModifier));
}

template <class T>
T* Place(TForm& form, int left, int top, int width, int height) {
    T* c = new T(&form);
    c->SetParent(&form);
    c->SetBounds(left, top, width, height);
    return c;
}

TEST(LogMemo, EachNewLineIsOnScreenBeforeTheHandlerEndsAndQueuedClicksWaitForIt) {
    TForm form(Application);
    form.SetClientSize(320, 200);
    auto* memo = Place<TMemo>(form, 8, 8, 300, 100);
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssNone);
    auto* write = Place<TButton>(form, 8, 120, 90, 25);
    auto* exitButton = Place<TButton>(form, 110, 120, 90, 25);

    std::vector<String> events;
    exitButton->OnClick = [&](TObject*) { events.push_back("exit"); };
    QWidget* window = form.Widget();
    std::vector<int> ink;
    write->OnClick = [&](TObject*) {
        events.push_back("write begins");
        // The first line goes into an empty memo, the last ones below the
        // bottom of its visible area: each is scrolled into view.
        for (const char* line : {"Writing channels data to device", "Error writing data to device (channels)",
                                 "Error writing data to device (ctcss rx)", "Error writing data to device (ctcss tx)",
                                 "Error writing data to device (channels)", "Error writing data to device (ctcss rx)",
                                 "Error writing data to device (ctcss tx)", "Writing channels to device complete"}) {
            memo->Lines().Add(line);
            ink.push_back(InkOfLastLine(OnScreen(window), memo, window));
            // The user clicks meanwhile.
            PostClick(exitButton->Widget());
        }
        events.push_back("write ends");
    };
    ASSERT_TRUE(keyboard::ShowActive(form));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QApplication::processEvents();
    // Where the first line will stand the empty memo shows nothing.
    ASSERT_EQ(InkOfLastLine(OnScreen(window), memo, window), 0);

    QTest::mouseClick(write->Widget(), Qt::LeftButton);
    ASSERT_EQ(ink.size(), 8u);
    for (size_t i = 0; i < ink.size(); ++i) EXPECT_GT(ink[i], 0) << "line " << i;
    // Nothing of the queued clicks ran inside the handler.
    EXPECT_EQ(events, (std::vector<String>{"write begins", "write ends"}));
    // They run afterwards, each once.
    QApplication::processEvents();
    EXPECT_EQ(events, (std::vector<String>{"write begins", "write ends", "exit", "exit", "exit", "exit", "exit", "exit",
                                           "exit", "exit"}));
}

}  // namespace
