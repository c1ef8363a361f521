// A main form file whose message list lacks a text the window shows stops
// the window's creation, naming the form and the position.
#include <QResource>

#include "main_window_fixture.h"

int qInitResources_window_tests_forms();
int qCleanupResources_window_tests_forms();

namespace {

// The forms of the test program replaced, while it lives, by a main form
// whose list ends one text short.
class ScopedShortMessageList {
public:
    ScopedShortMessageList() {
        qCleanupResources_window_tests_forms();
        registered = QResource::registerResource(SHORT_MESSAGE_LIST);
    }
    ~ScopedShortMessageList() {
        QResource::unregisterResource(SHORT_MESSAGE_LIST);
        qInitResources_window_tests_forms();
    }
    bool registered = false;
};

using MessageListTest = MainWindowTest;

TEST_F(MessageListTest, AShortListStopsTheCreationWithTheFormAndThePosition) {
    String error = "no error";
    {
        ScopedShortMessageList shortList;
        ASSERT_TRUE(shortList.registered);
        try {
            TForm1 form(Application);
        } catch (const EResourceError& e) {
            error = e.Message;
        }
    }
    EXPECT_EQ(error, "main_form.dfm: Form1: ListBox1 holds no message 60");
    EXPECT_EQ(Application->ComponentCount(), 0);
}

}  // namespace
