#include "platform/forms/controls.h"
#include "platform/forms/events.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "testing/harness.h"

#include <gtest/gtest.h>

using namespace vx;

namespace {

class Wired : public Form {
    Q_OBJECT
public:
    Wired() : Form(QStringLiteral("Wired")) { unbound = bindEventProcedures(*this); }

    Placed<CommandButton> Command1{{120, 240, 1500, 375}, this, QStringLiteral("Command1"), QStringLiteral("OK")};
    FileListBox File1{this, QStringLiteral("File1")};
    PictureBox Picture1{this, QStringLiteral("Picture1")};
    Timer Timer1{this, QStringLiteral("Timer1")};

    QStringList unbound;
    QStringList calls;

    Q_SLOT void Command1_Click() { calls << QStringLiteral("click"); }
    Q_SLOT void File1_OLEDragDrop(const QStringList &files) { calls << files; }
    Q_SLOT void Picture1_MouseDown(int button, int shift, float x, float y)
    {
        calls << QStringLiteral("%1 %2 %3 %4").arg(button).arg(shift).arg(x).arg(y);
    }
    Q_SLOT void Timer1_Timer() { calls << QStringLiteral("tick"); }
    Q_SLOT void Form_OLEDragDrop(const QStringList &files) { calls << QStringLiteral("form") << files; }

    // Faults of a window's own code: each is reported, none is bound.
    Q_SLOT void Command2_Click() {}
    Q_SLOT void Command1_Change() {}
    Q_SLOT void Picture1_MouseDown2(int) {}
    Q_SLOT void File1_Click(int) {}

    // Not a procedure: a plain method is never looked at.
    void Picture1_Click() { calls << QStringLiteral("plain"); }
};

class EventProcedures : public vxtest::GuiTest {};

} // namespace

TEST_F(EventProcedures, AreBoundByTheirNamesWithTheirArgumentsAndFaultsAreNamed)
{
    Wired w;
    w.Command1.click();
    w.File1.OLEDragDrop({QStringLiteral("/a"), QStringLiteral("/b")});
    w.Picture1.MouseDown(1, 2, 30.5f, 45.0f);
    w.Timer1.Tick();
    w.OLEDragDrop({QStringLiteral("/c")});
    EXPECT_EQ(w.calls, (QStringList{QStringLiteral("click"), QStringLiteral("/a"), QStringLiteral("/b"),
                                    QStringLiteral("1 2 30.5 45"), QStringLiteral("tick"), QStringLiteral("form"),
                                    QStringLiteral("/c")}));
    EXPECT_FALSE(w.Picture1.Click);
    EXPECT_FALSE(w.File1.Click);
    w.unbound.sort();
    EXPECT_EQ(w.unbound, (QStringList{QStringLiteral("Command1_Change"), QStringLiteral("Command2_Click"),
                                      QStringLiteral("File1_Click"), QStringLiteral("Picture1_MouseDown2")}));
}

TEST_F(EventProcedures, APlacedControlStandsWhereItsDeclarationSays)
{
    Wired w;
    EXPECT_EQ(w.Command1.Left(), 120);
    EXPECT_EQ(w.Command1.Top(), 240);
    EXPECT_EQ(w.Command1.Width(), 1500);
    EXPECT_EQ(w.Command1.Height(), 375);
    EXPECT_EQ(w.Command1.Caption(), QStringLiteral("OK"));
}

#include "events_test.moc"
