#include "form40.h"

#include "form17.h"
#include "keys.h"
#include "platform/core/convert.h"
#include "platform/imaging/plugins/pluginpicture.h"

#include <QFileInfo>

namespace keys = viewer3::keys;

using viewer3::kColumn;
using viewer3::kRow;

Form40::Form40() : BackdropForm(QStringLiteral("Form40"))
{
    setCaption(QStringLiteral("Graphic Rondix  Ⅲ Version1.0"));
    // Set before the handlers are joined: the first value moves no picture.
    VScroll1.setSmallChange(10);
    VScroll1.setLargeChange(20);
    VScroll1.setValue(10);
    HScroll1.setSmallChange(10);
    HScroll1.setLargeChange(20);
    viewer3::layOut(*this, {&Command9, &Command7, &Command1, &Command8, &Command10, &Command5, &Command4, &Command6}, 1185);
    Image1.setVisible(false);
    File1.setPattern(QStringLiteral(
        "*.bmp;*.jpg;*.jpeg;*.jpe;*.tif;*.pic;*.p2;*.p1;*.mag;*.q4;*.png;*.tga;*.fxt;*.pcx;*.pbm;*.pgm;*.ppm;*.gif"));
}

std::array<vx::CommandButton *, 9> Form40::colouredButtons()
{
    return {&Command1, &Command3, &Command4, &Command5, &Command6, &Command7, &Command8, &Command9, &Command10};
}

void Form40::Form_Load()
{
    viewer3::loadLook(*this, vx::instance<Form17>());
    try {
        const QString dir = suite::GetSetting(keys::Section, keys::Dir, keys::DirDefault);
        if (vx::isQualifiedPath(dir)) {
            // A folder gone since ends the load here.
            if (!QFileInfo(dir).isDir())
                return;
            Drive1.setDrive(vx::driveOfPath(dir));
            Dir1.setPath(dir);
        }
        Drive1.setDrive(suite::GetSetting(keys::Section, keys::Drive, keys::DriveDefault));
        suite::SaveSetting(keys::Section, keys::DefHeight, QString::number(Picture1.pxHeight()));
        suite::SaveSetting(keys::Section, keys::DefWidth, QString::number(Picture1.pxWidth()));
    } catch (const vx::RuntimeError &) {
    }
}

void Form40::saveAndHide(bool closing)
{
    (void)closing;
    Hide();
    vx::ReleaseSparePictureMemory();
    vx::unload<Form13>();
    viewer3::storeFolderAndPlace(*this);
}

void Form40::Form_Unload(int &cancel)
{
    (void)cancel;
    saveAndHide(true);
}

void Form40::Command3_Click()
{
    saveAndHide(false);
}

void Form40::Drive1_Change()
{
    viewer3::followDrive(*this);
}

void Form40::Dir1_Change()
{
    File1.setPath(Dir1.Path());
}

void Form40::File1_Click()
{
    try {
        VScroll1.setValue(0);
        HScroll1.setValue(0);
    } catch (const vx::RuntimeError &) {
        return;
    }
    viewer3::showSelection(*this);
    try {
        Image1.setPicture(vx::LoadPicture(shownFile()));
        const int width = vx::toPixels(Image1.Width());
        const int height = vx::toPixels(Image1.Height());
        measuredWidth_ = QString::number(width);
        measuredHeight_ = QString::number(height);
        const qint64 hMax = qint64(width) - Picture1.pxWidth();
        const qint64 vMax = qint64(height) - Picture1.pxHeight();
        viewer3::setRange(HScroll1, hMax);
        viewer3::setRange(VScroll1, vMax);
        suite::SaveSetting(keys::Section, keys::Height, QString::number(Picture1.pxHeight()));
        suite::SaveSetting(keys::Section, keys::Width, QString::number(Picture1.pxWidth()));
        viewer3::enableFor(HScroll1, hMax);
        viewer3::enableFor(VScroll1, vMax);
        // One decode serves both boxes.
        Picture1.setImage(Image1.Picture().image);
    } catch (const vx::RuntimeError &) {
    }
}

void Form40::Command7_Click()
{
    viewer3::stepFile(File1, 1);
}

void Form40::Command9_Click()
{
    viewer3::stepFile(File1, -1);
}

void Form40::Command10_Click()
{
    viewer3::toggleSlideShow(Timer1, Command10, vx::instance<Form17>().HScroll1.Value());
}

void Form40::Command1_Click()
{
    CommonDialog1.Filter = viewer3::pluginFileFilter();
    if (!CommonDialog1.ShowOpen())
        return;
    vx::LoadPictureViaPlugin(CommonDialog1.FileName, Picture1, 0);
}

void Form40::Command8_Click()
{
    try {
        if (vx::CopyPictureToClipboard(vx::Picture{Picture1.Image(), QStringLiteral("bmp"), {}}))
            vx::MsgBox(QStringLiteral("クリップボードに保存されました(^o^)"));
    } catch (const vx::RuntimeError &) {
    }
}

void Form40::Command4_Click()
{
    vx::ShowFileProperties(shownFile());
}

void Form40::Command5_Click()
{
    viewer3::toggleMagnifier();
}

void Form40::Command6_Click()
{
    vx::instance<Form17>().Show(1);
}

void Form40::VScroll1_Change()
{
    const int v = VScroll1.Value();
    try {
        if (v == 0) {
            Picture1.setPxTop(0);
            Picture1.setPxHeight(viewer3::storedSize(keys::DefHeight));
            const int measured = vx::toPixels(Image1.Height());
            measuredHeight_ = QString::number(measured);
            viewer3::setRange(VScroll1, qint64(measured) - Picture1.pxHeight());
            suite::SaveSetting(keys::Section, keys::Height, QString::number(Picture1.pxHeight()));
            VScroll1.move(Picture1.pxWidth() - HScroll1.Value(), VScroll1.y());
            Picture1.setPxHeight(vx::toPixels(ScaleHeight()) - HScroll1.height() + VScroll1.Value() - kRow);
            VScroll1.resize(VScroll1.width(), std::max(0, Picture1.pxHeight() - VScroll1.Value()));
        } else {
            Picture1.setPxTop(-v);
            Picture1.setPxHeight(viewer3::storedSize(keys::Height) + v);
        }
    } catch (const vx::RuntimeError &) {
    }
}

void Form40::HScroll1_Change()
{
    const int v = HScroll1.Value();
    try {
        if (v == 0) {
            Picture1.setPxLeft(0);
            Picture1.setPxWidth(viewer3::storedSize(keys::DefWidth));
            const int measured = vx::toPixels(Image1.Width());
            measuredWidth_ = QString::number(measured);
            viewer3::setRange(HScroll1, qint64(measured) - Picture1.pxWidth());
            suite::SaveSetting(keys::Section, keys::Width, QString::number(Picture1.pxWidth()));
            Picture1.setPxWidth(vx::toPixels(ScaleWidth()) - VScroll1.width() - kColumn + HScroll1.Value());
            HScroll1.move(HScroll1.x(), Picture1.pxHeight() - VScroll1.Value());
            HScroll1.resize(std::max(0, Picture1.pxWidth() - HScroll1.Value()), HScroll1.height());
        } else {
            Picture1.setPxLeft(-v);
            Picture1.setPxWidth(viewer3::storedSize(keys::Width) + v);
        }
    } catch (const vx::RuntimeError &) {
    }
}

void Form40::setRanges()
{
    // The measured size of the last file selection; before any, the ranges stay.
    bool okW = false, okH = false;
    const int width = measuredWidth_.toInt(&okW);
    const int height = measuredHeight_.toInt(&okH);
    if (!okW || !okH)
        return;
    const qint64 hMax = qint64(width) - Picture1.pxWidth();
    const qint64 vMax = qint64(height) - Picture1.pxHeight();
    try {
        viewer3::setRange(HScroll1, hMax);
        viewer3::setRange(VScroll1, vMax);
        viewer3::enableFor(HScroll1, hMax);
        viewer3::enableFor(VScroll1, vMax);
    } catch (const vx::RuntimeError &) {
    }
}

void Form40::Form_Resize()
{
    // A window too small for the margins gives empty boxes, never a failure.
    const int iw = vx::toPixels(ScaleWidth());
    const int ih = vx::toPixels(ScaleHeight());
    Picture1.setPxWidth(iw - VScroll1.width() - kColumn + HScroll1.Value());
    VScroll1.move(Picture1.pxWidth() - HScroll1.Value(), VScroll1.y());
    Picture1.setPxHeight(ih - HScroll1.height() + VScroll1.Value() - kRow);
    HScroll1.move(HScroll1.x(), Picture1.pxHeight() - VScroll1.Value());
    VScroll1.resize(VScroll1.width(), std::max(0, Picture1.pxHeight() - VScroll1.Value()));
    HScroll1.resize(std::max(0, Picture1.pxWidth() - HScroll1.Value()), HScroll1.height());
    setRanges();
    viewer3::placeColumnAndRow(*this,
                               {&Command9, &Command7, &Command1, &Command8, &Command10, &Command5, &Command4, &Command6});
}
