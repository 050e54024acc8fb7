#include "form40.h"

#include "form17.h"
#include "image/magnifier/form13.h"
#include "keys.h"
#include "listlook.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/imaging/plugins/pluginpicture.h"
#include "platform/system/system.h"
#include "scrollrange.h"
#include "suite/settings.h"

#include <QFileInfo>
#include <QPainter>

namespace keys = viewer3::keys;

namespace {
// Margins of the layout in pixels: the column right of the picture area and
// the button row below it.
constexpr int kColumn = 175;
constexpr int kRow = 40;
} // namespace

Form40::Form40() : vx::Form(QStringLiteral("Form40"))
{
    setCaption(QStringLiteral("Graphic Rondix  Ⅲ Version1.0"));
    setClientSize(12465, 8715);
    Picture1.Move(0, 0, 9615, 7875);
    Image1.setVisible(false);
    VScroll1.Move(9600, 0, 255, 7815);
    VScroll1.setSmallChange(10);
    VScroll1.setLargeChange(20);
    VScroll1.setValue(10);
    HScroll1.Move(0, 7815, 9615, 255);
    HScroll1.setSmallChange(10);
    HScroll1.setLargeChange(20);
    Drive1.Move(10080, 120, 2295, 300);
    Dir1.Move(10080, 480, 2295, 3030);
    File1.Move(10080, 3600, 2295, 4050);
    File1.setPattern(QStringLiteral(
        "*.bmp;*.jpg;*.jpeg;*.jpe;*.tif;*.pic;*.p2;*.p1;*.mag;*.q4;*.png;*.tga;*.fxt;*.pcx;*.pbm;*.pgm;*.ppm;*.gif"));
    Label1.Move(10080, 7800, 2295, 255);
    Command3.Move(10080, 8160, 2295, 375);
    const std::array<vx::CommandButton *, 8> row{&Command9, &Command7, &Command1, &Command8,
                                                  &Command10, &Command5, &Command4, &Command6};
    for (size_t i = 0; i < row.size(); ++i)
        row[i]->Move(120 + double(i) * 1185, 8280, 1185, 375);
    Command9.setToolTipText(QStringLiteral("前の画像へ戻ります"));
    Command7.setToolTipText(QStringLiteral("次の画像を表示します"));
    Command1.setToolTipText(QStringLiteral("画像を選びます"));
    Command8.setToolTipText(QStringLiteral("グリップボードにコピーします"));
    Command10.setToolTipText(QStringLiteral("スライドショーを開始します"));
    Command4.setToolTipText(QStringLiteral("ファイル情報が見れます"));
    Command9.setEnabled(false);
    Command7.setEnabled(false);
    Command10.setEnabled(false);

    Command1.Click = [this] { Command1_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    Command6.Click = [this] { Command6_Click(); };
    Command7.Click = [this] { Command7_Click(); };
    Command8.Click = [this] { Command8_Click(); };
    Command9.Click = [this] { Command9_Click(); };
    Command10.Click = [this] { Command10_Click(); };
    Drive1.Change = [this] { Drive1_Change(); };
    Dir1.Change = [this] { Dir1_Change(); };
    File1.Click = [this] { File1_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    VScroll1.Change = [this] { VScroll1_Change(); };
    HScroll1.Change = [this] { HScroll1_Change(); };
}

std::array<vx::CommandButton *, 9> Form40::colouredButtons()
{
    return {&Command1, &Command3, &Command4, &Command5, &Command6, &Command7, &Command8, &Command9, &Command10};
}

void Form40::setPicture(const vx::Picture &p)
{
    picture_ = p;
    update();
}

void Form40::paintEvent(QPaintEvent *e)
{
    vx::Form::paintEvent(e);
    if (picture_.isNull())
        return;
    QPainter p(this);
    p.drawImage(client()->geometry().topLeft(), picture_.image);
}

QString Form40::shownFile() const
{
    return vx::joinPath(Dir1.Path(), File1.FileName());
}

void Form40::Form_Load()
{
    suite::applyPointer(*this);
    setBackColor(suite::GetColor(keys::Section, keys::FormColor, keys::FormColorDefault));
    const auto buttons = colouredButtons();
    suite::applyButtonColor(keys::Section, buttons);
    viewer3::applyListFont(Drive1, Dir1, File1);
    Label1.setBackColor(suite::GetColor(keys::Section, keys::File2Color, keys::ListColorDefault));
    const qint32 listColor = suite::GetColor(keys::Section, keys::FileColor, keys::ListColorDefault);
    Drive1.setBackColor(listColor);
    Dir1.setBackColor(listColor);
    File1.setBackColor(listColor);
    Picture1.setBackColor(suite::GetColor(keys::Section, keys::PicColor, keys::PicColorDefault));
    vx::instance<Form17>().HScroll1.setValue(viewer3::storedSpeed());
    suite::restorePosition(*this, keys::Section, keys::PositionDefault);
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
    try {
        suite::SaveSetting(keys::Section, keys::Dir, Dir1.Path());
        // The close box stores the drive too: a new folder with the old drive
        // would move the lists to that drive at the next start.
        suite::SaveSetting(keys::Section, keys::Drive, Drive1.Drive());
        suite::savePosition(*this, keys::Section);
    } catch (const vx::RuntimeError &) {
    }
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
    try {
        Dir1.setPath(Drive1.Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
    }
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
    Picture1.setVisible(true);
    Picture1.setBackColor(suite::GetColor(keys::Section, keys::PicColor, keys::PicColorDefault));
    Command10.setEnabled(true);
    const int index = File1.ListIndex();
    const int count = File1.ListCount();
    Label1.setCaption(viewer3::positionText(index, count));
    try {
        Command9.setEnabled(index != 0);
        Command7.setEnabled(index + 1 != count);
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
    vx::shellDriver().showProperties(shownFile());
}

void Form40::Command5_Click()
{
    if (!vx::isShown<Form13>())
        vx::instance<Form13>().Show();
    else
        vx::unload<Form13>();
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
    const int columnLeft = VScroll1.x() + 30;
    for (QWidget *w : std::initializer_list<QWidget *>{&Drive1, &Dir1, &File1, &Label1, &Command3})
        w->move(columnLeft, w->y());
    const int rowTop = HScroll1.y() + 30;
    for (QWidget *w : std::initializer_list<QWidget *>{&Command9, &Command7, &Command1, &Command8, &Command10,
                                                       &Command5, &Command4, &Command6})
        w->move(w->x(), rowTop);
}
