// Test main for tests of windows: the component layer offscreen, and before
// each test the application as it was at the start, so that no test leans
// on what an earlier one in the same process left behind.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStringList>

#include <cstdlib>

#include "platform/vcl/vcl.h"
#include "support/app_state.h"
#include "support/test_env.h"

namespace {
QtMessageHandler PreviousMessageHandler = nullptr;

// What the offscreen platform says of window calls it has no screen for,
// on every window shown; dropped so that the warnings that tell something
// stand out. Every other message goes through.
void DropOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    static const QStringList notices = {"This plugin does not support raise()",
                                        "This plugin does not support propagateSizeHints()",
                                        "This plugin does not support grabbing the keyboard"};
    if (type == QtWarningMsg && notices.contains(message) &&
        QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    PreviousMessageHandler(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    test_env::Setup();
    PreviousMessageHandler = qInstallMessageHandler(DropOffscreenNotices);
    Application->Initialize();
    test_app::Capture();
    ::testing::UnitTest::GetInstance()->listeners().Append(new test_app::ResetBeforeEachTest);
    return RUN_ALL_TESTS();
}
