#include "form32.h"

#include "suite/settings.h"
#include "form14.h"
#include "form2.h"
#include "keys.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/system/system.h"
#include "viewer.h"

#include <QScreen>

namespace keys = viewer::keys::GraphicRondix;

namespace {

QString ownerFile(const Form2 &owner)
{
    return vx::joinPath(owner.Dir1.Path(), owner.File1.FileName());
}

} // namespace

Form32::Form32() : vx::Form(QStringLiteral("Form32"))
{
    setCaption(QStringLiteral("Graphic Rondix Viewer"));
    setBackColor(0);
    Command9.Move(0, 0, 615, 375);
    Command6.Move(615, 0, 600, 375);
    Command10.Move(1215, 0, 1215, 375);
    Command2.Move(2430, 0, 615, 375);
    Command3.Move(3045, 0, 615, 375);
    Command4.Move(3660, 0, 735, 375);
    Image1.Move(120, 480, 4215, 4335);
    setClientSize(4215 + 240, 4335 + 600);

    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command6.Click = [this] { Command6_Click(); };
    Command9.Click = [this] { Command9_Click(); };
    Command10.Click = [this] { Command10_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    OLEDragDrop = [this](const QStringList &files) { Form_OLEDragDrop(files); };
}

void Form32::Form_Load()
{
    suite::applyPointer(*this);
    Move(suite::GetSingle(keys::Section, keys::ZQVFormLeft, keys::ZQVPositionDefault),
         suite::GetSingle(keys::Section, keys::ZQVFormTop, keys::ZQVPositionDefault));
    ShowCurrent();
}

void Form32::Form_Unload(int &cancel)
{
    (void)cancel;
    vx::ReleaseSparePictureMemory();
    if (vx::isLoaded<Form2>())
        vx::instance<Form2>().Image1.setVisible(true);
    suite::SaveSetting(keys::Section, keys::ZQVFormLeft, vx::numText(Left()));
    suite::SaveSetting(keys::Section, keys::ZQVFormTop, vx::numText(Top()));
}

void Form32::fitWindow()
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
void Form32::Form_Activate()
{
    if (fit_) {
        setWidth(fit_->width());
        setHeight(fit_->height());
    }
}

void Form32::showOwnerFile(const Form2 &owner, double zoom)
{
    // The owner's list click has just decoded the same file for its own box.
    if (zoom != 0) {
        const double ratio = viewer::zoomRatio();
        viewer::showPicture(Image1, viewer::sharedPicture(owner.Image1.Picture(), ownerFile(owner)), ratio);
    } else {
        // Natural size only while stretch is off: an enlarged box stays enlarged.
        Image1.setPicture(viewer::sharedPicture(owner.Image1.Picture(), ownerFile(owner)));
    }
    fitWindow();
}

void Form32::ShowCurrent()
{
    Form2 &owner = vx::instance<Form2>();
    const double zoom = viewer::zoomSetting();
    const int index = owner.File1.ListIndex();
    const int count = owner.File1.ListCount();
    Command10.setEnabled(true);
    owner.Label1.setCaption(viewer::positionText(index, count));
    try {
        Command9.setEnabled(index != 0);
        Command6.setEnabled(index + 1 != count);
        showOwnerFile(owner, zoom);
    } catch (const vx::RuntimeError &) {
    }
}

void Form32::Command6_Click()
{
    Form2 &owner = vx::instance<Form2>();
    // Never past the end of the owner's list.
    if (owner.File1.ListIndex() + 1 >= owner.File1.ListCount())
        return;
    owner.File1.setListIndex(owner.File1.ListIndex() + 1);
    ShowCurrent();
}

void Form32::Command9_Click()
{
    Form2 &owner = vx::instance<Form2>();
    if (owner.File1.ListIndex() <= 0)
        return;
    owner.File1.setListIndex(owner.File1.ListIndex() - 1);
    ShowCurrent();
}

void Form32::Command2_Click()
{
    try {
        viewer::scaleBox(Image1, viewer::zoomRatio() * 1.05);
        fitWindow();
    } catch (const vx::RuntimeError &) {
    }
}

void Form32::Command3_Click()
{
    try {
        viewer::scaleBox(Image1, viewer::zoomRatio() * 0.95);
        fitWindow();
    } catch (const vx::RuntimeError &) {
    }
}

void Form32::Command4_Click()
{
    Image1.setStretch(false);
    fitWindow();
}

void Form32::Command10_Click()
{
    viewer::toggleSlideShow(Timer1, Command10, vx::instance<Form14>().HScroll1.Value());
}

// Walks the owner's list, starting again at the first entry after the last.
// The last entry is shown like any other.
void Form32::Timer1_Timer()
{
    Form2 &owner = vx::instance<Form2>();
    const double zoom = viewer::zoomSetting();
    const int count = owner.File1.ListCount();
    if (count == 0)
        return;
    const int index = owner.File1.ListIndex() + 1 >= count ? 0 : owner.File1.ListIndex() + 1;
    try {
        owner.File1.setListIndex(index);
        Command6.setEnabled(index + 1 != count);
        showOwnerFile(owner, zoom);
    } catch (const vx::RuntimeError &) {
    }
}

void Form32::Form_OLEDragDrop(const QStringList &files)
{
    viewer::dropPictures(Image1, files);
}
