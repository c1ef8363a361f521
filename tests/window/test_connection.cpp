// Connecting to the radio and disconnecting: the port and rate chosen, the
// enabled states on both sides, the log line for each way an attempt
// fails, and the ways out of the program.
#include <QEvent>
#include <QWidget>

#include <map>

#include "main_window_fixture.h"

namespace {

class ConnectionTest : public MainWindowTest {
protected:
    // The enabled state of every control that connecting switches, and the
    // button's caption.
    struct Controls {
        String caption;
        bool button2, ports, rate, read, info, writeOptions, writeChannels;
        bool operator==(const Controls&) const = default;
    };
    Controls Snapshot() const {
        return {Form1->Button2->Caption(),  Form1->Button2->Enabled(), Form1->RadioGroup1->Enabled(),
                Form1->ComboBox1->Enabled(), Form1->Button3->Enabled(), Form1->Button6->Enabled(),
                Form1->Button7->Enabled(),   Form1->Button8->Enabled()};
    }
    static Controls Disconnected() { return {"Connection", true, true, true, false, false, false, false}; }
    static Controls ConnectedState() { return {"Disconnect", true, false, false, true, true, true, true}; }

    static sim::Faults Silent() {
        sim::Faults f;
        f.silent = true;
        return f;
    }
};

// Notes, in order, each watched control whose enabled state changes.
class EnabledChanges : public QObject {
public:
    explicit EnabledChanges(std::initializer_list<TControl*> controls) {
        for (TControl* c : controls) {
            names[c->Widget()] = c->Name();
            c->Widget()->installEventFilter(this);
        }
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && names.count(watched)) order.push_back(names[watched]);
        return false;
    }
    std::map<QObject*, String> names;
    std::vector<String> order;
};

}  // namespace

TEST_F(ConnectionTest, ConnectAndDisconnectSwitchTheControlsInTheirOrder) {
    AddRadio(1);
    CreateWindows();
    TForm1& f = *Form1;
    const std::vector<String> order = {"RadioGroup1", "Button3", "ComboBox1", "Button6", "Button7", "Button8"};

    EnabledChanges changes({f.Button2, f.RadioGroup1, f.ComboBox1, f.Button3, f.Button6, f.Button7, f.Button8});
    f.Button2->Click();
    ASSERT_TRUE(Connected);
    EXPECT_EQ(changes.order, order);

    changes.order.clear();
    f.Button2->Click();
    ASSERT_FALSE(Connected);
    EXPECT_EQ(changes.order, order);
}

TEST_F(ConnectionTest, ConnectThenDisconnectSwitchesEveryControlAndBack) {
    sim::RadioSim& radio = AddRadio(1);
    CreateWindows();
    ASSERT_EQ(Form1->RadioGroup1->Items().Items(), std::vector<String>{"COM1 (device)"});
    EXPECT_EQ(Snapshot(), Disconnected());
    EXPECT_EQ(Form1->ComboBox1->ItemIndex(), 0);
    radio.ClearFrames();

    Form1->Button2->Click();
    EXPECT_TRUE(Connected);
    EXPECT_EQ(Snapshot(), ConnectedState());
    EXPECT_NE(Radiocomm->PortHandle(), HANDLE(0));
    const COMMTIMEOUTS& t = Radiocomm->Timeouts();
    EXPECT_EQ(t.ReadIntervalTimeout, 1000u);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 1u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 1000u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 1000u);
    EXPECT_EQ(Radiocomm->CommState().BaudRate, 4800u);
    EXPECT_EQ(radio.CountFrames(&sim::Frame::IsPing), 1);

    Form1->Button2->Click();
    EXPECT_FALSE(Connected);
    EXPECT_EQ(Snapshot(), Disconnected());
    EXPECT_EQ(Radiocomm->PortHandle(), HANDLE(0));
    EXPECT_EQ(LogLines(), (std::vector<String>{"Connection with device succefully established",
                                               "Connection with device broken"}));
    // Nothing but the one ping went to the radio.
    EXPECT_EQ(radio.Frames().size(), 1u);

    // The rate box is read at every connection: 19200 reaches the port.
    Form1->ComboBox1->SetItemIndex(2);
    Form1->Button2->Click();
    EXPECT_TRUE(Connected);
    EXPECT_EQ(Radiocomm->CommState().BaudRate, 19200u);
    Form1->Button2->Click();
    Form1->ComboBox1->SetItemIndex(1);
    Form1->Button2->Click();
    EXPECT_EQ(Radiocomm->CommState().BaudRate, 9600u);
}

TEST_F(ConnectionTest, TheSelectedPortIsOpenedAndASilentOneIsRefused) {
    sim::RadioSim& com1 = AddRadio(1);
    com1.SetFaults(Silent());
    sim::RadioSim& com3 = AddRadio(3);
    CreateWindows();
    ASSERT_EQ(Form1->RadioGroup1->Items().Items(), (std::vector<String>{"COM1", "COM3 (device)"}));
    EXPECT_EQ(Form1->RadioGroup1->ItemIndex(), 1);
    com1.ClearFrames();
    com3.ClearFrames();

    Form1->Button2->Click();
    EXPECT_TRUE(Connected);
    EXPECT_EQ(com3.CountFrames(&sim::Frame::IsPing), 1);
    EXPECT_EQ(com1.Frames().size(), 0u);
    Form1->Button2->Click();

    // COM1 has a port but no radio: one line, the port closed again, and
    // the window as it was.
    Form1->RadioGroup1->SetItemIndex(0);
    const Controls before = Snapshot();
    Form1->Button2->Click();
    EXPECT_FALSE(Connected);
    EXPECT_EQ(Radiocomm->PortHandle(), HANDLE(0));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Snapshot(), Disconnected());
    EXPECT_EQ(LogLines().back(), "Error device connection");
    EXPECT_EQ(LogLines().size(), 3u);
    EXPECT_EQ(com1.CountFrames(&sim::Frame::IsPing), 1);

    // The port was closed: the radio on COM3 can be reached again at once.
    Form1->RadioGroup1->SetItemIndex(1);
    Form1->Button2->Click();
    EXPECT_TRUE(Connected);
}

TEST_F(ConnectionTest, NoAnsweringRadioLeavesConnectionDisabledUntilAPortIsChosen) {
    AddRadio(2).SetFaults(Silent());
    CreateWindows();
    ASSERT_EQ(Form1->RadioGroup1->Items().Items(), std::vector<String>{"COM2"});
    EXPECT_EQ(Form1->RadioGroup1->ItemIndex(), -1);
    EXPECT_FALSE(Form1->Button2->Enabled());

    // Choosing the item enables Connection and does nothing else.
    Form1->RadioGroup1->SetItemIndex(0);
    EXPECT_TRUE(Form1->Button2->Enabled());
    EXPECT_TRUE(LogLines().empty());
    EXPECT_FALSE(Form1->Button3->Enabled());

    Form1->Button2->Click();
    EXPECT_EQ(LogLines(), std::vector<String>{"Error device connection"});
    EXPECT_EQ(Form1->Button2->Caption(), "Connection");
    EXPECT_EQ(Radiocomm->PortHandle(), HANDLE(0));
}

TEST_F(ConnectionTest, PortsThatCannotBeOpenedAreReportedWithoutHarm) {
    AddRadio(1);
    CreateWindows();
    ASSERT_TRUE(Form1->Button2->Enabled());

    // The port vanished after the scan.
    test_env::RemoveComPort(1);
    const Controls before = Snapshot();
    Form1->Button2->Click();
    EXPECT_EQ(LogLines(), std::vector<String>{"Error of port opening"});
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(Connected);
    EXPECT_EQ(Radiocomm->PortHandle(), HANDLE(0));

    // An item with no scan entry behind it, and no scan list at all: the
    // same line, no crash.
    Form1->RadioGroup1->Items().Add("COM9");
    Form1->RadioGroup1->SetItemIndex(1);
    Form1->Button2->Click();
    PortScanList* saved = PortList;
    PortList = nullptr;
    Form1->RadioGroup1->SetItemIndex(0);
    Form1->Button2->Click();
    PortList = saved;
    EXPECT_EQ(LogLines(), (std::vector<String>{"Error of port opening", "Error of port opening",
                                               "Error of port opening"}));
    EXPECT_EQ(Snapshot(), before);

    // The link is already open (held by someone else through the same
    // object): reported, and the link is closed so the next try can work.
    radios.front()->InstallAsCom(1);
    ASSERT_EQ(Radiocomm->OpenPort(1, 4800), 0);
    Form1->Button2->Click();
    EXPECT_EQ(LogLines().back(), "Error. Port already open");
    EXPECT_FALSE(Connected);
    EXPECT_EQ(Radiocomm->PortHandle(), HANDLE(0));
    Form1->Button2->Click();
    EXPECT_TRUE(Connected);
}

// Each way out is its own test: the application cannot be un-terminated.
TEST_F(ConnectionTest, ExitButtonEndsTheProgramWithoutTouchingTheRadio) {
    sim::RadioSim& radio = StartConnected();
    radio.ClearFrames();
    Form1->Button1->Click();
    EXPECT_TRUE(Application->Terminated());
    // No confirmation, nothing sent, the port not closed by the way out.
    EXPECT_EQ(modal.script.shown.size(), 0u);
    EXPECT_EQ(radio.Frames().size(), 0u);
    EXPECT_TRUE(Connected);
    EXPECT_NE(Radiocomm->PortHandle(), HANDLE(0));
}

TEST_F(ConnectionTest, FileExitEndsTheProgramWithoutTouchingTheRadio) {
    sim::RadioSim& radio = StartConnected();
    radio.ClearFrames();
    Form1->N6->Click();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(modal.script.shown.size(), 0u);
    EXPECT_EQ(radio.Frames().size(), 0u);
    EXPECT_NE(Radiocomm->PortHandle(), HANDLE(0));
}
