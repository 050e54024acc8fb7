#include "settings.h"

#include "keys.h"
#include "platform/core/convert.h"
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/store/store.h"
#include "platform/system/system.h"

namespace suite {

const QString kApp = QStringLiteral("Velmora 200X");

QString GetSetting(const QString &section, const QString &key, const QString &def)
{
    return vx::store::GetSetting(kApp, section, key, def);
}

void SaveSetting(const QString &section, const QString &key, const QString &value)
{
    vx::store::SaveSetting(kApp, section, key, value);
}

void DeleteSetting(const QString &section, const QString &key)
{
    vx::store::DeleteSetting(kApp, section, key);
}

void DeleteSection(const QString &section)
{
    vx::store::DeleteSection(kApp, section);
}

qint32 GetLong(const QString &section, const QString &key, const QString &def)
{
    return vx::toLong(GetSetting(section, key, def), vx::toLong(def, 0));
}

qint16 GetInteger(const QString &section, const QString &key, const QString &def)
{
    return vx::toInteger(GetSetting(section, key, def), vx::toInteger(def, 0));
}

float GetSingle(const QString &section, const QString &key, const QString &def)
{
    return vx::toSingle(GetSetting(section, key, def), vx::toSingle(def, 0.0f));
}

double GetDouble(const QString &section, const QString &key, const QString &def)
{
    return vx::toDouble(GetSetting(section, key, def), vx::toDouble(def, 0.0));
}

qint32 GetColor(const QString &section, const QString &key, qint32 def)
{
    return vx::toLong(GetSetting(section, key, QString::number(def)), def);
}

void applyPointer(vx::Form &form)
{
    using namespace keys::AllForm;
    form.setMousePointer(GetInteger(Section, Pointer, PointerDefault));
}

void applyTopmost(vx::Form &form)
{
    using namespace keys::AllForm;
    if (GetDouble(Section, FormTemae, FormTemaeDefault) == 1.0)
        form.setTopmost(true);
}

void applyButtonColor(const QString &section, std::span<vx::CommandButton *const> buttons)
{
    for (vx::CommandButton *b : buttons)
        b->setBackColor(GetColor(section, keys::BottonColor, keys::BottonColorDefault));
}

// A position no screen can hold (a hand-edited store) would put the window out
// of reach for good: it counts as not a number.
static float positionKey(const QString &section, const QString &key, const QString &def)
{
    constexpr float kLimit = 32767.0f * vx::kTwipsPerPixel;
    const float v = GetSingle(section, key, def);
    return (v > -kLimit && v < kLimit) ? v : vx::toSingle(def, 0.0f);
}

void restorePosition(vx::Form &form, const QString &section, const QString &def)
{
    form.Move(positionKey(section, keys::FormLeft, def), positionKey(section, keys::FormTop, def));
}

void savePosition(const vx::Form &form, const QString &section)
{
    SaveSetting(section, keys::FormLeft, vx::numText(form.Left()));
    SaveSetting(section, keys::FormTop, vx::numText(form.Top()));
}

QString helpFilePath()
{
    return vx::joinPath(vx::AppPath(), QStringLiteral("help.chm"));
}

void saveListLook(const QString &section, const vx::Form &tool, const vx::CommandButton &button,
                  const vx::FileListBox &files, const vx::Label &count)
{
    const QFont font = files.font();
    auto word = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
    SaveSetting(section, keys::FormColor, QString::number(tool.BackColor()));
    SaveSetting(section, keys::BottonColor, QString::number(button.BackColor()));
    SaveSetting(section, keys::FontSize, vx::numText(font.pointSizeF()));
    SaveSetting(section, keys::FontBold, word(font.bold()));
    SaveSetting(section, keys::FontItalic, word(font.italic()));
    SaveSetting(section, keys::FileColor, QString::number(files.BackColor()));
    SaveSetting(section, keys::File2Color, QString::number(count.BackColor()));
}

} // namespace suite
