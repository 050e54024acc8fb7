#include "mainsettings.h"
#include "platform/forms/events.h"

#include "shell/keys.h"
#include "suite/settings.h"
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"

namespace keys = shell::keys;

namespace shell::mainsettings {

namespace {

const QString kWordNext = QStringLiteral("次世代フォーム（標準)");
const QString kWordClassic = QStringLiteral("元祖フォーム");
const QString kWordSmall = QStringLiteral("小さいフォーム");

struct StyleWord {
    const char *word;
    const char *style;
};
const StyleWord kCloseButtonWords[] = {
    {"元祖フォーム", "Main1"},
    {"小さいフォーム", "Main2"},
    {"次世代フォーム（標準)", "Main0"},
};
const StyleWord kClosingWords[] = {
    {"デフォルトのフォーム（標準)", "Main1"},
    {"小さいフォーム", "Main2"},
    {"大きいフォーム", "Main3"},
};

// The store says the thing to delete is not there.
bool missing(const vx::RuntimeError &e) { return e.number() == vx::err::InvalidCall; }
} // namespace

QStringList styleWords() { return {kWordNext, kWordClassic, kWordSmall}; }

void fillStyleBox(vx::ComboBox &combo)
{
    for (const QString &w : styleWords())
        combo.AddItem(w);
    combo.setText(kWordNext);
}

QString styleForWord(const QString &word, Words words)
{
    const auto find = [&word](const auto &table) {
        for (const StyleWord &s : table)
            if (word == QString::fromUtf8(s.word))
                return QString::fromLatin1(s.style);
        return QString();
    };
    return words == Words::CloseButton ? find(kCloseButtonWords) : find(kClosingWords);
}

void saveStyle(const vx::ComboBox &combo, Words words)
{
    const QString style = styleForWord(combo.Text(), words);
    if (!style.isEmpty())
        suite::SaveSetting(keys::MainForm::Section, keys::MainForm::Form, style);
}

void loadStyle(vx::ComboBox &combo)
{
    const QString style = suite::GetSetting(keys::MainForm::Section, keys::MainForm::Form, keys::MainForm::StyleButtons);
    if (style == QLatin1String("Main0"))
        combo.setText(kWordNext);
    if (style == QLatin1String("Main2"))
        combo.setText(kWordSmall);
    if (style == QLatin1String("Main1"))
        combo.setText(kWordClassic);
}

void loadChoices(vx::Form &window, vx::CheckBox &check1, vx::CheckBox &check2)
{
    check2.setValue(suite::GetDouble(suite::keys::AllForm::Section, suite::keys::AllForm::FormTemae, suite::keys::AllForm::FormTemaeDefault) == 1.0 ? 1 : 0);
    suite::applyPointer(window);
    check1.setValue(suite::GetDouble(suite::keys::AllForm::Section, suite::keys::AllForm::Pointer, suite::keys::AllForm::PointerDefault) == 0.0 ? 1 : 0);
}

void previewPointer(vx::Form &window, const vx::CheckBox &check1)
{
    window.setMousePointer(check1.Value() == 1 ? vx::kPointerDefault : vx::kPointerCustom);
}

void saveTopmost(const vx::CheckBox &check2)
{
    suite::SaveSetting(suite::keys::AllForm::Section, suite::keys::AllForm::FormTemae, check2.Value() == 1 ? QStringLiteral("1") : QStringLiteral("0"));
}

void savePointer(const QString &section, const vx::Form &window)
{
    suite::SaveSetting(section, suite::keys::AllForm::Pointer, QString::number(window.MousePointer()));
}

QString colourText(qint32 colour) { return QString::number(colour); }

void reset(vx::Form &window, const QString &section, bool pointerToo)
{
    try {
        suite::DeleteSection(section);
    } catch (const vx::RuntimeError &e) {
        if (missing(e))
            return; // nothing to reset: the window stays as it is
        throw;
    }
    if (pointerToo) {
        try {
            suite::DeleteSetting(keys::MainForm::Section, suite::keys::AllForm::Pointer);
        } catch (const vx::RuntimeError &e) {
            if (!missing(e))
                throw;
        }
    }
    vx::MsgBox(QStringLiteral("初期化はアプリケーションを再起動したときに適用されます"));
    window.Hide();
}

Window::Window(const QString &name, const QString &caption, int height) : vx::Form(name)
{
    setCaption(caption);
    setClientSize(6840, height);
    Label2.setBuddy(&Combo1);
    Combo1.Move(120, 720, 3600, 315);
    fillStyleBox(Combo1);
    vx::bindEvents(*this);
}

void Window::Form_Load() { loadChoices(*this, Check1, Check2); }

void Window::Check1_Click() { previewPointer(*this, Check1); }

void Window::closeStoringColours()
{
    saveTopmost(Check2);
    saveStyle(Combo1, Words::CloseButton);
    saveColours();
    savePointer(suite::keys::AllForm::Section, *this);
    Unload();
}

void Window::loadWithStyle()
{
    loadStyle(Combo1);
    Window::Form_Load();
}

void Window::storeAtClosing()
{
    saveStyle(Combo1, Words::Closing);
    saveColours();
    savePointer(keys::MainForm::Section, *this);
}

} // namespace shell::mainsettings
