#include "listlook.h"

#include "platform/core/errors.h"

#include "keys.h"
#include "suite/interval.h"
#include "suite/settings.h"

namespace viewer3 {

namespace {
template <class W>
void setFontOf(W &w, double size, bool bold, bool italic)
{
    QFont f = w.font();
    if (size > 0)
        f.setPointSizeF(size);
    f.setBold(bold);
    f.setItalic(italic);
    w.setFont(f);
}
} // namespace

void setListFont(vx::DriveListBox &drive, vx::DirListBox &dir, vx::FileListBox &file, double size, bool bold,
                 bool italic)
{
    setFontOf(drive, size, bold, italic);
    setFontOf(dir, size, bold, italic);
    setFontOf(file, size, bold, italic);
}

void applyListFont(vx::DriveListBox &drive, vx::DirListBox &dir, vx::FileListBox &file)
{
    float size = suite::GetSingle(keys::Section, keys::FontSize, keys::FontSizeDefault);
    // A size no font has counts as not a number.
    if (!(size >= 1 && size <= 1638))
        size = 9;
    auto flag = [](QLatin1StringView key) {
        return suite::GetSetting(keys::Section, key, keys::FlagDefault).compare(QLatin1String("True"),
                                                                              Qt::CaseInsensitive) == 0;
    };
    setListFont(drive, dir, file, size, flag(keys::FontBold), flag(keys::FontItalic));
}

int storedSpeed()
{
    return suite::storedInterval(keys::Section, keys::Speed, keys::SpeedDefault);
}

QString flagWord(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

void toggleSlideShow(vx::Timer &timer, vx::CommandButton &button, int interval)
{
    timer.setInterval(interval);
    if (timer.Enabled()) {
        timer.setEnabled(false);
        button.setCaption(QStringLiteral("スライド再開"));
        button.setToolTipText(QStringLiteral("スライドショーを再開します"));
    } else {
        timer.setEnabled(true);
        button.setCaption(QStringLiteral("スライド停止"));
        button.setToolTipText(QStringLiteral("スライドショーを停止します"));
    }
}

QString positionText(int index, int count)
{
    return QString::number(index + 1) + QLatin1Char('/') + QString::number(count);
}

void stepFile(vx::FileListBox &list, int delta)
{
    const int target = list.ListIndex() + delta;
    if (target < 0 || target >= list.ListCount())
        return;
    try {
        list.setListIndex(target);
    } catch (const vx::RuntimeError &) {
    }
}

QString pluginFileFilter()
{
    return QStringLiteral(
        "Susieプラグイン対応ファイル (*.*)|*.jpg;*.jpeg;*.pic;*.p2;*.mag;*.pi;*.q4;*.png;*.tga;*.fxt;*.pcx;*.mid;*.wav;"
        "*.avi;*.aif;*.mov;*.mpg;*.cda;*.mpa;*.au;*.pbm;*.pgm;*.ppm;*.gif;*.tif|");
}

} // namespace viewer3
