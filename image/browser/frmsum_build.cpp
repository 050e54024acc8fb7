// The thumbnail build of frmSum: pictures read reduced on worker threads,
// taken into the image list one per turn of the event loop.
#include "frmsum.h"

#include "module11.h"
#include "platform/system/system.h"

#include <QPainter>
#include <QTimer>

namespace browser {

void ProgressBox::setFraction(double f)
{
    fraction_ = std::clamp(f, 0.0, 1.0);
    setAccessibleDescription(QStringLiteral("%1%").arg(qRound(fraction_ * 100)));
    update();
}

void ProgressBox::paintEvent(QPaintEvent *e)
{
    vx::PictureBox::paintEvent(e);
    if (fraction_ <= 0)
        return;
    QPainter p(this);
    const QRect r = contentsRect();
    p.fillRect(QRect(r.left(), r.top(), static_cast<int>(fraction_ * r.width()), r.height()),
               vx::toQColor(ForeColor()));
}

} // namespace browser


void frmSum::cmdShow_Click()
{
    Module11::BuildThumbnails(*this);
}

void frmSum::cmdCancel_Click()
{
    cmdCancel.setEnabled(false);
}

void frmSum::setBuildingControls(bool on)
{
    cmdCancel.setEnabled(on);
    cmdShow.setEnabled(!on);
    // The list the build reads stays as it was.
    Drive.setEnabled(!on);
    Dir.setEnabled(!on);
}

void frmSum::startBuild()
{
    if (building())
        return;
    ImageList1.Clear();
    last_ = File.ListCount() - 1;
    ThumbCount = 0;
    setBuildingControls(true);
    for (int k = 0; k <= LastCellIndex; ++k) {
        vx::PictureButton &cell = *Command1[static_cast<size_t>(k)];
        cell.setPicture({});
        cell.setCaption(QString());
        cell.setVisible(false);
    }
    const QString prefix = folderPrefix();
    QStringList paths;
    for (int i = 0; i <= last_; ++i)
        paths << vx::joinPath(prefix, File.List(i));
    job_ = std::make_unique<browser::ThumbnailJob>(paths, Picture3.contentsRect().width());
    next_ = 0;
    watchNext();
}

void frmSum::watchNext()
{
    if (!job_)
        return;
    if (next_ > last_) {
        finishBuild();
        return;
    }
    // A result ready already still comes as an event: one file per turn.
    watcher_.setFuture(job_->result(next_));
}

void frmSum::takeResult()
{
    if (!job_ || isUnloaded())
        return;
    QFuture<vx::ReducedPicture> f = job_->result(next_);
    const vx::ReducedPicture picture = f.resultCount() > 0 ? f.result() : vx::ReducedPicture{};
    ImageList1.Add(Module11::DrawThumbnail(Picture3, picture));
    Picture4.setFraction(double(next_ + 1) / double(last_ + 1));
    Picture4.repaint();
    // The window's events run before the stop is looked at.
    QTimer::singleShot(0, this, [this] { vx::dispatch([this] { afterFile(); }); });
}

void frmSum::afterFile()
{
    if (!job_ || isUnloaded())
        return;
    if (!cmdCancel.Enabled()) {
        finishBuild();
        return;
    }
    ++ThumbCount;
    ++next_;
    watchNext();
}

void frmSum::finishBuild()
{
    job_.reset();
    watcher_.setFuture(QFuture<vx::ReducedPicture>());
    Picture4.setFraction(0);
    if (ThumbCount <= LastCellIndex) {
        VScroll1.setMax(0);
        VScroll1.setValue(0);
        VScroll1.setEnabled(false);
    } else {
        VScroll1.setMax((ThumbCount - 24) / 2);
        VScroll1.setValue(0);
        VScroll1.setEnabled(true);
    }
    Module11::ShowThumbnailPage(*this);
    setBuildingControls(false);
}

void frmSum::stopBuild()
{
    if (!job_)
        return;
    watcher_.disconnect(this);
    job_.reset();
    watcher_.setFuture(QFuture<vx::ReducedPicture>());
}
