#include "repair/pages.h"

#include "suite/settings.h"
#include "platform/store/lock.h"
#include "platform/store/store.h"
#include "testing/harness.h"

#include <QApplication>
#include <QFile>

#include <chrono>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace repair;
using vx::instance;
using vx::isLoaded;

namespace {

const QString Helper = QStringLiteral("Velmora Helper");
const QStringList AllSections = {
    "MainForm", "MainForm0", "MainForm2", "AllForm", "Kinvoke", "Graphic Rondix", "Graphic Rondix2",
    "Susie Rondix", "Multimedia Rondix", "Multimedia Rondix2", "Multimedia Rondix3", "AudioCD Rondix",
    "Cramlet&Loosel", "Scrivolt", "Velmora Helper"};
using Sections = std::map<QString, QByteArray>;

// Holds the store's lock as another process would, so that writers time out.
struct StoreLock {
    int fd;
    explicit StoreLock(const QString &storeFile)
        : fd(::open(QFile::encodeName(storeFile + ".lock").constData(), O_RDWR | O_CREAT, 0644))
    {
        EXPECT_EQ(::flock(fd, LOCK_EX), 0);
        vx::store::detail::setLockTimeout(200);
    }
    ~StoreLock()
    {
        ::close(fd);
        vx::store::detail::setLockTimeout(10000);
    }
};

class Wizard : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        vx::setAppTitle(QStringLiteral("Velmora 2002 Helper"));
    }

    // The sections as a user's store may hold them: comments, blanks around
    // "=", Japanese values.
    void fillStore(const QStringList &sections = AllSections)
    {
        QByteArray text = "; Velmora 200X\n";
        for (int n = 0; n < sections.size(); ++n)
            text += '[' + sections[n].toUtf8() + "]\n" + (n % 3 ? "" : "; kept as written\n")
                    + "FormLeft=" + QByteArray::number(1500 + n) + "\nFormTop = " + QByteArray::number(900 + n)
                    + " \nDir=/home/利用者/画像 " + QByteArray::number(n) + "\n\n";
        QFile f(storeFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QByteArray storeText() const
    {
        QFile f(storeFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Each section's lines as the file holds them (blanks and comments at its
    // end belong to the next header).
    Sections sectionTexts() const
    {
        Sections out;
        QString name;
        QList<QByteArray> block;
        auto flush = [&] {
            while (!block.isEmpty() && (block.last().trimmed().isEmpty() || block.last().startsWith(';')))
                block.removeLast();
            if (!name.isEmpty())
                out[name] = block.join('\n');
        };
        for (const QByteArray &line : storeText().split('\n')) {
            if (line.startsWith('[')) {
                flush();
                name = QString::fromUtf8(line.mid(1, line.indexOf(']') - 1));
                block.clear();
            }
            block.append(line);
        }
        flush();
        return out;
    }

    void expectIntactBut(const Sections &before, const QString &gone)
    {
        Sections expected = before;
        expected.erase(gone);
        EXPECT_EQ(sectionTexts(), expected);
    }

    QString option() const { return suite::GetSetting(Helper, QStringLiteral("Option"), QStringLiteral("none")); }

    // Pages 1 and 2 through their buttons, choosing `choice`.
    Form03 &choose(vx::OptionButton Form02::*choice)
    {
        instance<Form01>().Show();
        instance<Form01>().Command2.click();
        (instance<Form02>().*choice).click();
        instance<Form02>().Command2.click();
        EXPECT_TRUE(isLoaded<Form03>());
        return instance<Form03>();
    }

    // Ticks while the timer would run.
    void runProgress()
    {
        QApplication::processEvents();
        for (int i = 0; i < 100 && instance<Form04>().Timer1.Enabled(); ++i)
            instance<Form04>().Timer1_Timer();
    }
};

TEST_F(Wizard, PagesStandWhereTheStoreSaysOrAtTheDefault)
{
    EXPECT_EQ(instance<Form01>().Left(), 3375);
    EXPECT_EQ(instance<Form01>().Top(), 2880);
    suite::SaveSetting(Helper, "FormLeft", "4500");
    suite::SaveSetting(Helper, "FormTop", "oben");
    suite::SaveSetting(Helper, "Option", "0"); // page 4 deletes nothing
    for (vx::Form *page : {(vx::Form *)&instance<Form02>(), (vx::Form *)&instance<Form03>(),
                           (vx::Form *)&instance<Form04>(), (vx::Form *)&instance<Form05>()}) {
        EXPECT_EQ(page->Left(), 4500) << page->Name().toStdString();
        EXPECT_EQ(page->Top(), 2880) << page->Name().toStdString();
        EXPECT_EQ(page->size(), instance<Form01>().size()) << "one frame for every page";
    }
}

TEST_F(Wizard, WalksForwardAndBackShowingTheCurrentChoice)
{
    Form01 &p1 = instance<Form01>();
    p1.Show();
    EXPECT_FALSE(p1.Command3.isEnabled());
    p1.Command2.click();
    Form02 &p2 = instance<Form02>();
    EXPECT_FALSE(p1.Visible());
    EXPECT_TRUE(p2.Visible());

    p2.Command2.click();
    EXPECT_FALSE(isLoaded<Form03>()) << "Next waits for a choice";
    p2.Option4.click();
    p2.Command3.click();
    EXPECT_TRUE(p1.Visible());
    EXPECT_FALSE(p2.Visible());
    p1.Command2.click();
    EXPECT_TRUE(p2.Option4.Value()) << "page 2 was only hidden";
    EXPECT_EQ(option(), "none") << "nothing is stored before Next";

    p2.Command2.click();
    EXPECT_EQ(option(), "2");
    EXPECT_EQ(instance<Form03>().Text1.Text(), "Graphic Rondix");
    instance<Form03>().Command3.click();
    EXPECT_FALSE(isLoaded<Form03>());
    EXPECT_TRUE(p2.Visible());
    p2.Option2.click();
    p2.Command2.click();
    EXPECT_EQ(option(), "5");
    EXPECT_EQ(instance<Form03>().Text1.Text(), "Multimedia RondixⅡ");
}

TEST_F(Wizard, CancelAsksOnTheFirstThreePages)
{
    Form03 &p3 = choose(&Form02::Option6);
    const QByteArray before = storeText();
    for (auto [page, cancel] : {std::pair<vx::Form *, vx::CommandButton *>{&instance<Form01>(), &instance<Form01>().Command1},
                                {&instance<Form02>(), &instance<Form02>().Command1},
                                {&p3, &p3.Command1}}) {
        page->Show();
        vxtest::dialogs().answers = {vx::vbNo, vx::vbYes};
        cancel->click();
        EXPECT_FALSE(vx::programEnded()) << page->Name().toStdString();
        cancel->click();
        EXPECT_TRUE(vx::programEnded()) << page->Name().toStdString();
        vx::setEndThrows(true); // the end starts afresh for the next page
    }
    ASSERT_EQ(vxtest::dialogs().messages.size(), 6u);
    for (const auto &m : vxtest::dialogs().messages) {
        EXPECT_EQ(m.text, "中断しますか？");
        EXPECT_EQ(m.style, vx::vbYesNo) << "no icon";
        EXPECT_EQ(m.title, "Velmora 2002 Helper");
    }
    EXPECT_EQ(storeText(), before);
}

TEST_F(Wizard, CloseBoxAsksLikeCancelAndFinishesOnTheLastPage)
{
    Form02 &p2 = instance<Form02>();
    p2.Show();
    vxtest::dialogs().answers = {vx::vbNo};
    p2.close();
    EXPECT_TRUE(vx::isLoaded<Form02>());
    EXPECT_TRUE(p2.Visible()) << "No keeps the page";
    EXPECT_FALSE(vx::programEnded());
    vxtest::dialogs().answers = {vx::vbYes};
    p2.close();
    EXPECT_TRUE(vx::programEnded());
    ASSERT_EQ(vxtest::dialogs().messages.size(), 2u);
    EXPECT_EQ(vxtest::dialogs().messages[1].text, "中断しますか？");

    vx::setEndThrows(true);
    Form05 &p5 = instance<Form05>();
    p5.Show();
    p5.close();
    EXPECT_TRUE(vx::programEnded()) << "closing the last page finishes";
    EXPECT_EQ(vxtest::dialogs().messages.size(), 2u) << "nothing asked";
}

struct Choice {
    const char *name;
    vx::OptionButton Form02::*button;
    const char *value;
    const char *caption;
    const char *section; // nullptr: the whole application
};
void PrintTo(const Choice &c, std::ostream *os) { *os << c.name; }

class EachChoice : public Wizard, public ::testing::WithParamInterface<Choice> {};

TEST_P(EachChoice, DeletesExactlyItsSectionThenRunsToTheEnd)
{
    const Choice c = GetParam();
    fillStore();
    Form03 &p3 = choose(c.button);
    EXPECT_EQ(p3.Text1.Text(), QString::fromUtf8(c.caption));
    EXPECT_EQ(option(), c.value);
    const Sections before = sectionTexts();

    p3.Command2.click();
    Form04 &p4 = instance<Form04>();
    EXPECT_TRUE(p4.Visible());
    EXPECT_EQ(p4.Label3.Caption(), "チェック中です。");
    EXPECT_TRUE(p4.Timer1.Enabled());
    if (c.section)
        expectIntactBut(before, QString::fromUtf8(c.section));
    else
        EXPECT_TRUE(storeText().isEmpty());
    const QByteArray deleted = storeText();

    for (int i = 0; i < 99; ++i)
        p4.Timer1_Timer();
    EXPECT_EQ(p4.ProgressBar1.Value(), 99);
    EXPECT_EQ(p4.Label3.Caption(), "修復中です。");
    EXPECT_FALSE(isLoaded<Form05>());
    p4.Timer1_Timer();
    EXPECT_FALSE(p4.Visible());
    EXPECT_FALSE(p4.Timer1.Enabled());
    EXPECT_TRUE(instance<Form05>().Visible());
    EXPECT_EQ(storeText(), deleted) << "one deletion only";
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    instance<Form05>().Command2.click();
    EXPECT_TRUE(vx::programEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Repair, EachChoice,
    ::testing::Values(Choice{"Option9", &Form02::Option9, "1", "メイン画面", "MainForm0"},
                      Choice{"Option4", &Form02::Option4, "2", "Graphic Rondix", "Graphic Rondix"},
                      Choice{"Option5", &Form02::Option5, "3", "Graphic RondixⅡ", "Graphic Rondix2"},
                      Choice{"Option1", &Form02::Option1, "4", "Multimedia Rondix", "Multimedia Rondix"},
                      Choice{"Option2", &Form02::Option2, "5", "Multimedia RondixⅡ", "Multimedia Rondix2"},
                      Choice{"Option3", &Form02::Option3, "6", "Multimedia RondixⅢ", "Multimedia Rondix3"},
                      Choice{"Option6", &Form02::Option6, "7", "Susie Rondix", "Susie Rondix"},
                      Choice{"Option7", &Form02::Option7, "8", "Scrivolt", "Scrivolt"},
                      Choice{"Option8", &Form02::Option8, "9", "わかりません。又は上記以外の機能", nullptr}),
    [](const ::testing::TestParamInfo<Choice> &info) { return std::string(info.param.name); });

TEST_F(Wizard, ToolThatNeverSavedAnythingStillCompletes)
{
    QStringList sections = AllSections;
    sections.removeAll("Scrivolt");
    fillStore(sections);
    choose(&Form02::Option7).Command2.click();
    const QByteArray before = storeText();
    runProgress();
    EXPECT_TRUE(instance<Form05>().Visible());
    EXPECT_EQ(storeText(), before);
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(Wizard, StoredChoiceIsReadAsANumber)
{
    fillStore();
    // " 03" is 3; anything else that is no choice deletes nothing, least of all everything.
    for (const char *stored : {" 03", "abc", "0", "10", "2.5"}) {
        suite::SaveSetting(Helper, "Option", stored);
        const Sections before = sectionTexts();
        const bool three = stored == std::string(" 03");
        EXPECT_EQ(instance<Form03>().Text1.Text(), three ? "Graphic RondixⅡ" : "") << stored;
        instance<Form03>().Command2_Click();
        expectIntactBut(before, three ? "Graphic Rondix2" : "");
        EXPECT_TRUE(instance<Form04>().Timer1.Enabled()) << stored;
        instance<Form04>().Unload();
        instance<Form03>().Unload();
    }
}

TEST_F(Wizard, StoreThatRefusesTheDeletionIsNotReportedAsRepaired)
{
    fillStore();
    Form03 &p3 = choose(&Form02::Option1);
    const QByteArray before = storeText();
    {
        StoreLock busy(storeFile());
        p3.Command2.click();
    }
    EXPECT_EQ(instance<Form04>().Label3.Caption(), "修復できませんでした。");
    EXPECT_FALSE(instance<Form04>().Timer1.Enabled());
    EXPECT_TRUE(vxtest::dialogs().messages.empty()) << "told once page 4 is up";
    QApplication::processEvents();
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    const auto &m = vxtest::dialogs().messages.front();
    EXPECT_EQ(m.icon(), vx::vbExclamation);
    EXPECT_TRUE(m.text.contains("書き込みできません")) << "names the failure: " << m.text.toStdString();
    EXPECT_FALSE(isLoaded<Form04>());
    EXPECT_FALSE(isLoaded<Form05>());
    EXPECT_TRUE(p3.Visible()) << "back to the confirmation";
    EXPECT_EQ(storeText(), before);

    p3.Command2.click(); // the store is free again
    runProgress();
    EXPECT_TRUE(instance<Form05>().Visible());
    EXPECT_FALSE(vx::store::Sections(suite::kApp).contains("Multimedia Rondix"));
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u);
}

TEST_F(Wizard, ChoiceThatCannotBeSavedKeepsPageTwo)
{
    instance<Form02>().Show();
    instance<Form02>().Option9.click();
    {
        StoreLock busy(storeFile());
        instance<Form02>().Command2.click();
    }
    EXPECT_TRUE(instance<Form02>().Visible());
    EXPECT_FALSE(isLoaded<Form03>());
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_EQ(vxtest::dialogs().messages[0].icon(), vx::vbExclamation);
    EXPECT_TRUE(vxtest::dialogs().messages[0].text.contains("記録できませんでした"));
    instance<Form02>().Command2.click();
    EXPECT_EQ(instance<Form03>().Text1.Text(), "メイン画面");
}

// The main program's side: writes and reads back its own settings until it
// has seen the wizard's deletion, then a while longer; sends its last count.
[[noreturn]] void playMainProgram(int toParent)
{
    int code = 0, afterDeletion = -1;
    long i = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    try {
        for (;; ++i) {
            suite::SaveSetting("MainForm", "Counter", QString::number(i));
            if (suite::GetSetting("MainForm", "Counter", "") != QString::number(i))
                code = 1;
            else if (i == 0 && ::write(toParent, "R", 1) != 1)
                code = 4;
            else if (std::chrono::steady_clock::now() > deadline)
                code = 2;
            if (code)
                break;
            if (afterDeletion < 0 && suite::GetSetting("Graphic Rondix", "FormLeft", "default") == "default")
                afterDeletion = 0;
            if (afterDeletion >= 0 && ++afterDeletion > 30)
                break;
        }
    } catch (...) {
        code = 3;
    }
    const QByteArray last = QByteArray::number(qlonglong(i));
    if (::write(toParent, last.constData(), size_t(last.size())) != last.size())
        code = 4;
    ::_exit(code);
}

TEST_F(Wizard, DeletesWhileTheMainProgramWritesInAnotherProcess)
{
    fillStore();
    Form03 &p3 = choose(&Form02::Option4);
    const Sections before = sectionTexts();
    int pipeFd[2];
    ASSERT_EQ(::pipe(pipeFd), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        playMainProgram(pipeFd[1]);
    ::close(pipeFd[1]);
    char ready = 0;
    ASSERT_EQ(::read(pipeFd[0], &ready, 1), 1);

    p3.Command2.click(); // deletes "Graphic Rondix" while the other side writes
    QByteArray last;
    char buf[32];
    for (ssize_t n; (n = ::read(pipeFd[0], buf, sizeof buf)) > 0;)
        last.append(buf, n);
    ::close(pipeFd[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "1 lost write, 2 deletion never seen, 3 store error, 4 pipe";

    EXPECT_EQ(suite::GetSetting("MainForm", "Counter", ""), QString::fromLatin1(last));
    suite::DeleteSetting("MainForm", "Counter");
    expectIntactBut(before, "Graphic Rondix");
}

} // namespace
