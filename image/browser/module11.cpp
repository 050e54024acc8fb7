#include "module11.h"

#include "frmsum.h"
#include "platform/forms/colors.h"
#include "platform/core/userfileqt.h"
#include "platform/system/system.h"

#include <QPainter>
#include <QSet>

namespace Module11 {

QImage DrawThumbnail(vx::PictureBox &dest, const vx::ReducedPicture &picture)
{
    const int side = dest.contentsRect().width();
    QImage canvas(side, std::max(1, dest.contentsRect().height()), QImage::Format_RGB32);
    canvas.fill(vx::toQColor(dest.BackColor()));
    if (!picture.image.isNull()) {
        const QRect box = browser::thumbnailBox(picture.natural, side);
        QPainter p(&canvas);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(box, picture.image);
    }
    dest.setPicture(QPixmap::fromImage(canvas));
    return canvas;
}

void BuildThumbnails(frmSum &form)
{
    form.startBuild();
}

void ShowThumbnailPage(frmSum &form)
{
    const int last = std::min<int>(form.ThumbCount - 1, form.LastCellIndex);
    int k = 0;
    for (; k <= last; ++k) {
        const int number = form.VScroll1.Value() * 2 + k + 1;
        if (number > form.ThumbCount)
            break;
        vx::PictureButton &cell = *form.Command1[static_cast<size_t>(k)];
        cell.setVisible(true);
        cell.setPicture(form.ImageList1.Item(number));
        cell.setCaption(ShortenFileName(form.File.List(number - 1)));
        // Screen readers hear the whole name.
        cell.setAccessibleDescription(form.File.List(number - 1));
    }
    for (; k <= form.LastCellIndex; ++k)
        form.Command1[static_cast<size_t>(k)]->setVisible(false);
}

QString ShortenFileName(const QString &name)
{
    // Characters, not UTF-16 units: a name never splits inside one.
    const QList<uint> chars = name.toUcs4();
    if (chars.size() < 11)
        return name;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.constData()), 10) + QStringLiteral("...");
}

QStringList addListFields(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QStringList fields;
    QString field;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
            continue;
        }
        if (c == QLatin1Char('"') && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
            any = true;
        } else if (c == QLatin1Char(',') || c == QLatin1Char('\n')) {
            fields << field.trimmed();
            field.clear();
            any = false;
        } else if (c != QLatin1Char('\r')) {
            field += c;
            any = true;
        }
    }
    if (any || !field.trimmed().isEmpty())
        fields << field.trimmed();
    return fields;
}

void LoadAddList(QStringList &addList)
{
    // Only a regular file of a sane size: a FIFO or device there would never end.
    QByteArray bytes;
    if (vx::readUserFile(vx::joinPath(vx::AppPath(), QStringLiteral("add.dat")), 16 << 20, bytes) !=
        vx::UserFileStatus::Ok)
        return;
    QSet<QString> seen(addList.cbegin(), addList.cend());
    for (const QString &f : addListFields(bytes)) {
        // A key seen before or more than the collection holds ends the read.
        if (seen.contains(f) || addList.size() >= 32767)
            return;
        seen.insert(f);
        addList << f;
    }
}

} // namespace Module11
