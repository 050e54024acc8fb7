#include "form15.h"
#include "platform/forms/events.h"

#include "formslset.h"
#include "image/viewer3/form17.h"
#include "keys.h"

namespace keys = plugins::keys;

using viewer3::kColumn;
using viewer3::kRow;

Form15::Form15() : BackdropForm(QStringLiteral("Form15"))
{
    setCaption(QStringLiteral("Susie Rondix Version4.0β"));
    viewer3::layOut(*this, {&Command9, &Command7, &Command1, &Command2, &Command8, &Command10, &Command5, &Command4, &Command6},
                    1050);
    File1.setPattern(QStringLiteral(
        "*.bmp;*.jpg;*.jpeg;*.jpe;*.tif;*.pic;*.p2;*.p1;*.q4;*.png;*.tga;*.fxt;*.pcx;*.pbm;*.pgm;*.ppm;*.gif"));
    Command3.setToolTipText(QStringLiteral("Susie Rondixを終わります"));
    Picture2.setVisible(false);
    Command2.setToolTipText(QStringLiteral("BMP形式で保存します"));
}

std::array<vx::CommandButton *, 10> Form15::colouredButtons()
{
    return {&Command1, &Command2, &Command3, &Command4, &Command5,
            &Command6, &Command7, &Command8, &Command9, &Command10};
}

void Form15::Form_Load()
{
    viewer3::loadLook(*this, vx::instance<Form17>());
    suite::restoreFolder(Drive1, Dir1, keys::Section, keys::Dir, keys::DirDefault, keys::Drive, keys::DriveDefault);
}

void Form15::saveAndHide()
{
    Hide();
    vx::unload<Form13>();
    viewer3::storeFolderAndPlace(*this);
}

void Form15::Form_Unload(int &cancel)
{
    (void)cancel;
    saveAndHide();
}

void Form15::Command3_Click()
{
    saveAndHide();
}

void Form15::Drive1_Change()
{
    viewer3::followDrive(*this);
}

void Form15::Dir1_Change()
{
    File1.setPath(Dir1.Path());
}

// The plug-in's record; the decoded bitmap's size where the plug-in gives none.
void Form15::readInfo(const QString &path)
{
    info_ = vx::GetPluginPictureInfo(path);
    if (info_.code != 0 || info_.width <= 0 || info_.height <= 0) {
        info_.width = Picture1.Image().width();
        info_.height = Picture1.Image().height();
    }
}

QSize Form15::pictureSize() const
{
    return {info_.width, info_.height};
}

void Form15::File1_Click()
{
    try {
        viewer3::showSelection(*this);
        const QString path = shownFile();
        vx::LoadPictureViaPlugin(path, Picture1, 0);
        readInfo(path);
        const qint64 hMax = qint64(info_.width) - visibleWidth_;
        const qint64 vMax = qint64(info_.height) - visibleHeight_;
        viewer3::setRange(HScroll1, hMax);
        viewer3::setRange(VScroll1, vMax);
        viewer3::enableFor(HScroll1, hMax);
        viewer3::enableFor(VScroll1, vMax);
        VScroll1.setValue(0);
        HScroll1.setValue(0);
    } catch (const vx::RuntimeError &) {
    }
}

void Form15::Command7_Click()
{
    viewer3::stepFile(File1, 1);
}

void Form15::Command9_Click()
{
    viewer3::stepFile(File1, -1);
}

void Form15::Command10_Click()
{
    viewer3::toggleSlideShow(Timer1, Command10, vx::instance<Form17>().HScroll1.Value());
}

void Form15::Command1_Click()
{
    CommonDialog1.Filter = viewer3::pluginFileFilter();
    if (!CommonDialog1.ShowOpen())
        return;
    vx::LoadPictureViaPlugin(CommonDialog1.FileName, Picture1, 0);
    readInfo(CommonDialog1.FileName);
}

// Picture2 takes Picture1's image cut to the picture's size; false when there is none.
bool Form15::takePicture2()
{
    const QSize size = pictureSize();
    const QImage &whole = Picture1.Image();
    if (whole.isNull() || size.isEmpty())
        return false;
    Picture2.setImage(whole.copy(QRect(QPoint(0, 0), size)));
    Picture2.setPxWidth(size.width());
    Picture2.setPxHeight(size.height());
    return !Picture2.Image().isNull();
}

void Form15::Command2_Click()
{
    CommonDialog2.Filter = QStringLiteral("ビットマップ (*.BMP)|*.bmp|");
    if (!CommonDialog2.ShowSave())
        return;
    try {
        if (!takePicture2())
            return;
    } catch (const vx::RuntimeError &) {
        return;
    }
    if (!vx::SavePictureSayingWhy(vx::Picture{Picture2.Image(), QStringLiteral("bmp"), {}}, CommonDialog2.FileName))
        return;
    vx::MsgBox(QStringLiteral("保存されました(^o^)"));
}

void Form15::Command8_Click()
{
    try {
        if (takePicture2() &&
            vx::CopyPictureToClipboard(vx::Picture{Picture2.Image(), QStringLiteral("bmp"), {}}))
            vx::MsgBox(QStringLiteral("クリップボードに保存されました(^o^)"));
    } catch (const vx::RuntimeError &) {
    }
}

void Form15::Command4_Click()
{
    vx::ShowFileProperties(shownFile());
}

void Form15::Command5_Click()
{
    viewer3::toggleMagnifier();
}

void Form15::Command6_Click()
{
    vx::instance<FormSLSet>().Show(1);
}

void Form15::VScroll1_Change()
{
    Picture1.setPxTop(-VScroll1.Value());
    Picture1.setPxHeight(visibleHeight_ + VScroll1.Value());
}

void Form15::HScroll1_Change()
{
    Picture1.setPxLeft(-HScroll1.Value());
    Picture1.setPxWidth(visibleWidth_ + HScroll1.Value());
}

void Form15::Form_Resize()
{
    // A window too small for the margins gives empty boxes, never a failure.
    const int iw = vx::toPixels(ScaleWidth());
    const int ih = vx::toPixels(ScaleHeight());
    Picture1.setPxWidth(iw - VScroll1.width() - kColumn + HScroll1.Value());
    VScroll1.move(Picture1.pxWidth() - HScroll1.Value(), VScroll1.y());
    Picture1.setPxHeight(ih - HScroll1.height() + VScroll1.Value() - kRow);
    HScroll1.move(HScroll1.x(), Picture1.pxHeight() - VScroll1.Value());
    visibleWidth_ = Picture1.pxWidth() - HScroll1.Value();
    visibleHeight_ = Picture1.pxHeight() - VScroll1.Value();
    const qint64 hMax = qint64(info_.width) - visibleWidth_;
    const qint64 vMax = qint64(info_.height) - visibleHeight_;
    try {
        viewer3::setRange(HScroll1, hMax);
        viewer3::setRange(VScroll1, vMax);
        viewer3::enableFor(HScroll1, hMax);
        viewer3::enableFor(VScroll1, vMax);
    } catch (const vx::RuntimeError &) {
    }
    viewer3::placeColumnAndRow(
        *this, {&Command9, &Command7, &Command1, &Command2, &Command8, &Command10, &Command5, &Command4, &Command6});
}
