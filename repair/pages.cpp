#include "pages.h"
#include "platform/forms/events.h"

#include "keys.h"
#include "suite/settings.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/store/store.h"

#include <QTimer>

#include <cmath>
#include <optional>

namespace repair {

namespace {

namespace helper = keys::VelmoraHelper;
namespace sections = suite::keys::sections;

// By stored value 1 to 9: what page 3 shows and the section page 4 deletes
// (none: every section of the application).
struct Choice {
    const char *caption;
    QLatin1StringView section; // null: every section
};
const Choice kChoices[9] = {{"メイン画面", sections::MainForm0},
                            {"Graphic Rondix", sections::GraphicRondix},
                            {"Graphic RondixⅡ", sections::GraphicRondix2},
                            {"Multimedia Rondix", sections::MultimediaRondix},
                            {"Multimedia RondixⅡ", sections::MultimediaRondix2},
                            {"Multimedia RondixⅢ", sections::MultimediaRondix3},
                            {"Susie Rondix", sections::SusieRondix},
                            {"Scrivolt", sections::Scrivolt},
                            {"わかりません。又は上記以外の機能", {}}};

// The stored choice as a number 1 to 9 ("03" and " 3" count); nothing otherwise.
std::optional<int> choiceOf(const QString &stored)
{
    const std::optional<double> v = vx::toDouble(stored);
    if (!v || *v != std::floor(*v) || *v < 1 || *v > 9)
        return std::nullopt;
    return static_cast<int>(*v);
}

} // namespace

// --- page 1: welcome ----------------------------------------------------------

Form01::Form01() : Page(QStringLiteral("Form01"))
{
    placeTitle(Label3);
    placeText(Label2, 1080, 1200);
    placeButton(Command3, Slot::Back);
    placeButton(Command2, Slot::Next);
    placeButton(Command1, Slot::Cancel);
    Command3.setEnabled(false);
    Command2.setDefault(true);
    vx::bindEvents(*this);
}

void Form01::Form_Load() { placeFromSettings(); }

void Form01::Command1_Click() { askCancel(); }

void Form01::Command2_Click()
{
    Hide();
    vx::instance<Form02>().Show();
}

// --- page 2: which tool -------------------------------------------------------

Form02::Form02() : Page(QStringLiteral("Form02"))
{
    placeTitle(Label3);
    placeText(Label2, 840, 480);
    for (int i = 0; i < 9; ++i) {
        options_[i]->setCaption(QString::fromUtf8(kChoices[i].caption));
        placeText(*options_[i], 1440 + i * 330, 300);
    }
    placeButton(Command3, Slot::Back);
    placeButton(Command2, Slot::Next);
    placeButton(Command1, Slot::Cancel);
    Command2.setEnabled(false);
    Command2.setDefault(true);
    vx::bindEvents(*this);
}

void Form02::Form_Load() { placeFromSettings(); }

void Form02::Option1_Click() { Command2.setEnabled(true); }
void Form02::Option2_Click() { Command2.setEnabled(true); }
void Form02::Option3_Click() { Command2.setEnabled(true); }
void Form02::Option4_Click() { Command2.setEnabled(true); }
void Form02::Option5_Click() { Command2.setEnabled(true); }
void Form02::Option6_Click() { Command2.setEnabled(true); }
void Form02::Option7_Click() { Command2.setEnabled(true); }
void Form02::Option8_Click() { Command2.setEnabled(true); }
void Form02::Option9_Click() { Command2.setEnabled(true); }

void Form02::Command1_Click() { askCancel(); }

void Form02::Command2_Click()
{
    int chosen = 0;
    for (int i = 0; i < 9 && !chosen; ++i)
        if (options_[i]->Value())
            chosen = i + 1;
    if (!chosen)
        return;
    try {
        suite::SaveSetting(helper::Section, helper::Option, QString::number(chosen));
    } catch (const vx::RuntimeError &e) {
        // Going on would let page 4 act on an older choice, or on its default
        // of deleting everything.
        vx::MsgBox(QStringLiteral("選択した機能を記録できませんでした。\n%1").arg(e.description()),
                   vx::vbExclamation);
        return;
    }
    Hide();
    vx::instance<Form03>().Show();
}

void Form02::Command3_Click()
{
    Hide();
    vx::instance<Form01>().Show();
}

// --- page 3: confirm ----------------------------------------------------------

Form03::Form03() : Page(QStringLiteral("Form03"))
{
    placeTitle(Label3);
    placeText(Text1, 1080, 360);
    Text1.setLocked(true);
    placeText(Label4, 1740, 480);
    placeText(Label5, 2280, 720);
    const qint32 warn = vx::rgb(0xA0, 0x10, 0x10);
    Label4.setForeColor(warn);
    Label5.setForeColor(warn);
    placeText(Label2, 3360, 480);
    placeButton(Command3, Slot::Back);
    placeButton(Command2, Slot::Next);
    placeButton(Command1, Slot::Cancel);
    Command2.setDefault(true);
    Command2.setFocus(); // not the read-only box
    vx::bindEvents(*this);
}

void Form03::Form_Load()
{
    placeFromSettings();
    const QString stored = suite::GetSetting(helper::Section, helper::Option, helper::OptionShownDefault);
    if (const auto choice = choiceOf(stored))
        Text1.setText(QString::fromUtf8(kChoices[*choice - 1].caption));
}

void Form03::Command1_Click() { askCancel(); }

void Form03::Command2_Click()
{
    Hide();
    vx::instance<Form04>().Show();
}

void Form03::Command3_Click()
{
    // Unloaded so that the next visit shows the choice made then.
    Unload();
    vx::instance<Form02>().Show();
}

// --- page 4: repair -----------------------------------------------------------

Form04::Form04() : Page(QStringLiteral("Form04"))
{
    placeTitle(Label3);
    placeText(ProgressBar1, 1200, 300);
    ProgressBar1.setMin(0);
    ProgressBar1.setMax(100);
    vx::bindEvents(*this);
}

void Form04::Form_Load()
{
    placeFromSettings();
    Label3.setCaption(QStringLiteral("チェック中です。"));
    // A value that is no choice (only an outside hand writes one) deletes nothing.
    const std::optional<int> choice =
        choiceOf(suite::GetSetting(helper::Section, helper::Option, helper::OptionRepairedDefault));
    try {
        if (choice && !kChoices[*choice - 1].section.isNull())
            suite::DeleteSection(kChoices[*choice - 1].section);
        else if (choice)
            vx::store::DeleteApplication(suite::kApp);
    } catch (const vx::RuntimeError &e) {
        // Missing means the tool already runs on its defaults: nothing to repair.
        if (e.number() != vx::err::InvalidCall) {
            Label3.setCaption(QStringLiteral("修復できませんでした。"));
            // Told once this page is on screen, not over an empty desktop.
            QTimer::singleShot(0, this, [this, failure = e.description()] {
                vx::dispatch([this, &failure] { reportFailure(failure); });
            });
            return;
        }
    }
    Timer1.setEnabled(true);
}

void Form04::reportFailure(const QString &failure)
{
    vx::MsgBox(QStringLiteral("設定を削除できなかったため、修復できませんでした。\n%1").arg(failure),
               vx::vbExclamation);
    // Back to the confirmation: "修復 >" tries again, "キャンセル" ends.
    Unload();
    vx::instance<Form03>().Show();
}

void Form04::Timer1_Timer()
{
    ProgressBar1.setValue(ProgressBar1.Value() + 1);
    Label3.setCaption(QStringLiteral("修復中です。"));
    if (ProgressBar1.Value() >= ProgressBar1.Max()) {
        Hide();
        vx::instance<Form05>().Show();
        Timer1.setEnabled(false);
    }
}

// --- page 5: done -------------------------------------------------------------

Form05::Form05() : Page(QStringLiteral("Form05"))
{
    placeTitle(Label3);
    placeText(Label2, 1080, 1200);
    placeButton(Command2, Slot::Next);
    Command2.setDefault(true);
    vx::bindEvents(*this);
}

void Form05::Form_Load() { placeFromSettings(); }

void Form05::Command2_Click() { vx::End(); }

} // namespace repair
