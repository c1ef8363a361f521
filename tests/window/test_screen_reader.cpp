// The windows both editions share as a screen reader finds them: the
// program under its own name.
#include <QAccessible>
#include <QFileInfo>

#include "window/main_window_fixture.h"

namespace {

TEST(ProgramName, TheProgramCallsItselfByItsOwnName) {
    const QString program = QFileInfo("/proc/self/exe").symLinkTarget().section('/', -1);
    ASSERT_FALSE(program.isEmpty());
    QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->text(QAccessible::Name), program);
    EXPECT_EQ(QCoreApplication::applicationName(), program);
    EXPECT_EQ(Application->Title, program.toStdString());
}

}  // namespace
