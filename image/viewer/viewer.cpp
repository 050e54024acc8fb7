#include "viewer.h"

#include "suite/settings.h"
#include "form14.h"
#include "keys.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"

namespace viewer {

double zoomSetting()
{
    using namespace keys::GraphicRondix;
    return suite::GetDouble(Section, Zoom, ZoomDefault);
}

double zoomRatio()
{
    return ratioOf(vx::instance<Form14>().Combo1.Text());
}

double ratioOf(const QString &text)
{
    const auto ratio = vx::toDouble(text);
    if (!ratio || *ratio <= 0)
        vx::raise(vx::err::TypeMismatch);
    return *ratio;
}

namespace {

bool fits(double twips)
{
    return twips > 0 && twips <= vx::ImageBox::kMaxTwips;
}

} // namespace

void showPicture(vx::ImageBox &box, const QString &path, std::optional<double> ratio)
{
    // A large photo is painted while it decodes; anything that reads the
    // box's picture waits for it whole.
    showPicture(box, vx::LoadPictureWhileShown(path), ratio);
}

vx::Picture sharedPicture(const vx::Picture &held, const QString &path)
{
    return vx::IsPictureOf(held, path) ? held : vx::LoadPicture(path);
}

void showPicture(vx::ImageBox &box, const vx::Picture &picture, std::optional<double> ratio)
{
    if (!ratio) {
        box.setPicture(picture);
        box.setStretch(false);
        return;
    }
    // Always from the picture's own size: the box may still hold the last
    // picture's zoomed size, and multiplying that would compound.
    const double height = *ratio * picture.heightTwips();
    const double width = *ratio * picture.widthTwips();
    if (!fits(height) || !fits(width))
        vx::raise(vx::err::InvalidProperty);
    box.setPicture(picture);
    box.setStretch(true);
    box.setHeight(static_cast<float>(height));
    box.setWidth(static_cast<float>(width));
}

void scaleBox(vx::ImageBox &box, double factor)
{
    const double height = factor * box.Height();
    const double width = factor * box.Width();
    if (!fits(height) || !fits(width))
        vx::raise(vx::err::InvalidProperty);
    box.setStretch(true);
    box.setHeight(static_cast<float>(height));
    box.setWidth(static_cast<float>(width));
}

bool dropPictures(vx::ImageBox &box, const QStringList &files)
{
    for (const QString &file : files) {
        try {
            box.setPicture(vx::LoadPicture(file));
        } catch (const vx::RuntimeError &) {
            vx::MsgBox(QStringLiteral("対応している画像ファイルをドロップしてください"));
            return false;
        }
    }
    return true;
}

QString positionText(int index, int count)
{
    return QStringLiteral("%1/%2").arg(index + 1).arg(count);
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

} // namespace viewer
