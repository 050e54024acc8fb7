#include "form22.h"

#include "platform/media/mci.h"
#include "platform/media/midiports.h"
#include "suite/settings.h"
#include "testing/harness.h"

using namespace vx;

namespace {

class FixedPorts : public MidiPortList {
public:
    explicit FixedPorts(QStringList n) : names(std::move(n)) {}
    QStringList outputPorts() override { return names; }
    QStringList names;
};

// The real interpreter, with every command it is sent kept.
class KeptCommands : public MediaCommandDriver {
public:
    QStringList sent;
    std::unique_ptr<MediaCommandDriver> real = makeMediaCommandInterpreter();
    int send(const QString &command, QString &reply) override
    {
        sent << command;
        return real->send(command, reply);
    }
};

class Form22Test : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        auto commands = std::make_unique<KeptCommands>();
        this->commands = commands.get();
        setMediaCommandDriver(std::move(commands));
        Form22::stopSecondPlayer = [this] { ++stops; };
        setMidiOutputPort(-1);
    }
    void TearDown() override
    {
        FormRegistry::reset();
        Form22::stopSecondPlayer = nullptr;
        setMediaCommandDriver(nullptr);
        setMidiPortList(nullptr);
        GuiTest::TearDown();
    }
    static void ports(const QStringList &names) { setMidiPortList(std::make_unique<FixedPorts>(names)); }
    KeptCommands *commands = nullptr;
    int stops = 0;
};

TEST_F(Form22Test, ListsTheDevicesInOrderWithTheLayoutTextShowing)
{
    ports({QStringLiteral("Midi Through Port-0"), QStringLiteral("TiMidity port 0 with a name longer than it may be")});
    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("Pointer"), QStringLiteral("0"));
    Form22 &f = instance<Form22>();
    EXPECT_EQ(f.Caption(), QStringLiteral("Multimedia Rondix MIDI Device Changer Ver.1.0β"));
    EXPECT_EQ(f.Command1.Caption(), QStringLiteral("変更"));
    EXPECT_EQ(f.MousePointer(), 0);
    ASSERT_EQ(f.Combo1.ListCount(), 2);
    EXPECT_EQ(f.Combo1.List(0), QStringLiteral("Midi Through Port-0"));
    EXPECT_EQ(f.Combo1.List(1), QStringLiteral("TiMidity port 0 with a name lon"));
    EXPECT_EQ(f.Combo1.Text(), QStringLiteral("MIDIデバイス一覧"));
    EXPECT_EQ(f.Combo1.ListIndex(), -1);
    EXPECT_EQ(Form22::GetMidiDevName(5), QString());
}

TEST_F(Form22Test, ChangeStopsThePlayerSendsThePortAndSaysSoOnlyWhenTaken)
{
    ports({QStringLiteral("A"), QStringLiteral("B")});
    Form22 &f = instance<Form22>();
    f.Combo1.setListIndex(1);
    f.Command1_Click();
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(commands->sent, QStringList{QStringLiteral("set Midi port 1")});
    EXPECT_EQ(midiOutputPort(), 1);
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_EQ(vxtest::dialogs().messages[0].text, QStringLiteral("変更しました(^^)"));
    EXPECT_EQ(vxtest::dialogs().messages[0].style, vbOKOnly);
    // Nothing chosen: -1 is sent, refused, and nothing is announced.
    FormRegistry::reset();
    Form22 &again = instance<Form22>();
    again.Command1_Click();
    EXPECT_EQ(commands->sent.last(), QStringLiteral("set Midi port -1"));
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_EQ(midiOutputPort(), 1);
}

TEST_F(Form22Test, WithoutDevicesTheListHoldsOneEmptyEntryThatChangesNothing)
{
    ports({});
    Form22 &f = instance<Form22>();
    ASSERT_EQ(f.Combo1.ListCount(), 1);
    EXPECT_EQ(f.Combo1.List(0), QString());
    f.Combo1.setListIndex(0);
    f.Command1_Click();
    EXPECT_EQ(commands->sent, QStringList{QStringLiteral("set Midi port 0")});
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_EQ(midiOutputPort(), -1);
}

TEST_F(Form22Test, AsTheStartWindowClosingItEndsTheProgram)
{
    ports({QStringLiteral("A")});
    Form22 &modal = instance<Form22>();
    modal.Show();
    modal.close();
    EXPECT_FALSE(programEnded()) << "from a settings window it only closes";
    EXPECT_FALSE(isLoaded<Form22>());
    Form22 &start = instance<Form22>();
    start.setStartWindow(true);
    start.Show();
    start.close();
    EXPECT_TRUE(programEnded());
}

} // namespace
