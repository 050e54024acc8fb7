#include "picturewindow.h"
#include "platform/forms/events.h"

#include "platform/core/errors.h"
#include "platform/system/system.h"
#include "viewer.h"

#include <QScreen>

namespace viewer {

PictureWindow::PictureWindow(const QString &name, const QString &caption) : vx::Form(name)
{
    setCaption(caption);
    setBackColor(0);
    setClientSize(4215 + 240, 4335 + 600);

    vx::bindEvents(*this);
}

QString PictureWindow::ownerFile()
{
    return vx::joinPath(ownerFolder(), ownerFiles().FileName());
}

void PictureWindow::fitWindow()
{
    // Never larger than the screen: the picture box shows what fits and a
    // window of a hugely zoomed picture would need gigabytes to draw.
    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect(0, 0, 1920, 1080);
    fit_ = QSizeF(std::min<double>(Image1.Width() + 350.0, vx::toTwips(screenArea.width())),
                  std::min<double>(Image1.Height() + 1000.0, vx::toTwips(screenArea.height())));
    setWidth(fit_->width());
    setHeight(fit_->height());
}

// A window fitted while hidden did not know its frame yet.
void PictureWindow::Form_Activate()
{
    if (fit_) {
        setWidth(fit_->width());
        setHeight(fit_->height());
    }
}

void PictureWindow::showOwnerFile(double zoom)
{
    const QString path = ownerFile();
    if (zoom != 0) {
        const double ratio = zoomRatio();
        showPicture(Image1, ownerPicture(path), ratio);
    } else {
        // Natural size only while stretch is off: an enlarged box stays enlarged.
        Image1.setPicture(ownerPicture(path));
    }
    fitWindow();
}

void PictureWindow::ShowCurrent()
{
    vx::FileListBox &files = ownerFiles();
    const double zoom = zoomSetting();
    const int index = files.ListIndex();
    const int count = files.ListCount();
    Command10.setEnabled(true);
    showPosition(index, count);
    try {
        Command9.setEnabled(index != 0);
        Command6.setEnabled(index + 1 != count);
        showOwnerFile(zoom);
    } catch (const vx::RuntimeError &) {
    }
}

void PictureWindow::Command6_Click()
{
    vx::FileListBox &files = ownerFiles();
    // Never past the end of the owner's list.
    if (files.ListIndex() + 1 >= files.ListCount())
        return;
    files.setListIndex(files.ListIndex() + 1);
    ShowCurrent();
}

void PictureWindow::Command9_Click()
{
    vx::FileListBox &files = ownerFiles();
    if (files.ListIndex() <= 0)
        return;
    files.setListIndex(files.ListIndex() - 1);
    ShowCurrent();
}

void PictureWindow::Command2_Click()
{
    try {
        scaleBox(Image1, zoomRatio() * 1.05);
        fitWindow();
    } catch (const vx::RuntimeError &) {
    }
}

void PictureWindow::Command3_Click()
{
    try {
        scaleBox(Image1, zoomRatio() * 0.95);
        fitWindow();
    } catch (const vx::RuntimeError &) {
    }
}

void PictureWindow::Command4_Click()
{
    Image1.setStretch(false);
    fitWindow();
}

void PictureWindow::Command10_Click()
{
    toggleSlideShow(Timer1, Command10, slideInterval());
}

// Walks the owner's list, starting again at the first entry after the last.
// The last entry is shown like any other.
void PictureWindow::Timer1_Timer()
{
    vx::FileListBox &files = ownerFiles();
    const double zoom = zoomSetting();
    const int count = files.ListCount();
    if (count == 0)
        return;
    const int index = files.ListIndex() + 1 >= count ? 0 : files.ListIndex() + 1;
    try {
        files.setListIndex(index);
        Command6.setEnabled(index + 1 != count);
        showOwnerFile(zoom);
    } catch (const vx::RuntimeError &) {
    }
}

void PictureWindow::Form_OLEDragDrop(const QStringList &files)
{
    dropPictures(Image1, files);
}

} // namespace viewer
