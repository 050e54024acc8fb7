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

} // namespace suite
