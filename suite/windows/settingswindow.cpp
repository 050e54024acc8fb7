#include "settingswindow.h"

#include "suite/settings.h"

#include "platform/core/errors.h"
#include "platform/system/system.h"

namespace suite {

void chooseSkin(vx::CommonDialog &dialog, const QString &section, const QString &key,
                const std::function<void(const vx::Picture &)> &apply)
{
    dialog.Filter = QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif");
    if (!dialog.ShowOpen())
        return;
    try {
        apply(vx::LoadPicture(dialog.FileName));
        SaveSetting(section, key, dialog.FileName);
    } catch (const vx::RuntimeError &) {
    }
}

void showStoredSkin(const QString &section, const QString &key, const QString &defaultName,
                    const std::function<void(const vx::Picture &)> &apply)
{
    try {
        apply(vx::LoadPicture(GetSetting(section, key, vx::joinPath(vx::AppPath(), defaultName))));
    } catch (const vx::RuntimeError &) {
    }
}

bool resetSection(const QString &section)
{
    try {
        DeleteSection(section);
    } catch (const vx::RuntimeError &) {
        return false; // nothing stored since the last reset
    }
    vx::MsgBox(QStringLiteral("初期化はアプリケーションを再起動したときに適用されます"));
    return true;
}

void listRates(vx::ComboBox &combo)
{
    for (const char *rate : {"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0", "1.1", "1.2",
                             "1.3", "1.4", "1.5", "1.6", "1.7", "1.8", "1.9", "2.0", "2.5", "3.0", "4.0", "5.0"})
        combo.AddItem(QString::fromLatin1(rate));
    combo.setText(QStringLiteral("1.0"));
}

PlayerSettingsWindow::PlayerSettingsWindow(const QString &name, const QString &caption, const QString &intro,
                                           int width, int height, Section section)
    : vx::Form(name), section_(section)
{
    setCaption(caption);
    setClientSize(width, height);
    Label1.setCaption(intro);
    Label1.Move(120, 120, width - 240, 255);
    Image1.setStretch(true);
}

void PlayerSettingsWindow::Form_Load()
{
    applyPointer(*this);
    // A missing or unreadable skin leaves only the skin out.
    showStoredSkin(section_.name, section_.skin, section_.skinDefaultName,
                   [this](const vx::Picture &skin) { Image1.setPicture(skin); });
}

void PlayerSettingsWindow::Form_Unload(int &cancel)
{
    (void)cancel;
    store();
}

void PlayerSettingsWindow::Command8_Click()
{
    store();
    leave();
}

void PlayerSettingsWindow::chooseSkin(vx::CommonDialog &dialog,
                                      const std::function<void(const vx::Picture &)> &showOnPlayer)
{
    suite::chooseSkin(dialog, section_.name, section_.skin, [&](const vx::Picture &skin) {
        showOnPlayer(skin);
        Image1.setPicture(skin);
    });
}

void PlayerSettingsWindow::reset()
{
    if (resetSection(section_.name))
        Hide();
}

void PlayerSettingsWindow::storeNumbers(std::initializer_list<std::pair<QLatin1StringView, qint32>> values) const
{
    for (const auto &[key, value] : values)
        SaveSetting(section_.name, key, QString::number(value));
}

} // namespace suite
