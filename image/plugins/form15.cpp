#include "form15.h"

#include "formslset.h"
#include "image/magnifier/form13.h"
#include "image/viewer3/form17.h"
#include "image/viewer3/listlook.h"
#include "image/viewer3/scrollrange.h"
#include "keys.h"
#include "platform/core/errors.h"
#include "platform/system/system.h"
#include "suite/folders.h"
#include "suite/settings.h"

#include <QPainter>

namespace keys = plugins::keys;

namespace {
// Margins of the layout in pixels: the column right of the picture area and
// the button row below it.
constexpr int kColumn = 175;
constexpr int kRow = 40;
} // namespace

Form15::Form15() : vx::Form(QStringLiteral("Form15"))
{
    setCaption(QStringLiteral("Susie Rondix Version4.0β"));
    setClientSize(12465, 8715);
    Picture1.Move(0, 0, 9615, 7875);
    VScroll1.Move(9600, 0, 255, 7815);
    HScroll1.Move(0, 7815, 9615, 255);
    Drive1.Move(10080, 120, 2295, 300);
    Dir1.Move(10080, 480, 2295, 3030);
    File1.Move(10080, 3600, 2295, 4050);
    File1.setPattern(QStringLiteral(
        "*.bmp;*.jpg;*.jpeg;*.jpe;*.tif;*.pic;*.p2;*.p1;*.q4;*.png;*.tga;*.fxt;*.pcx;*.pbm;*.pgm;*.ppm;*.gif"));
    Label1.Move(10080, 7800, 2295, 255);
    Command3.Move(10080, 8160, 2295, 375);
    Command3.setToolTipText(QStringLiteral("Susie Rondixを終わります"));
    Picture2.setVisible(false);
    const std::array<vx::CommandButton *, 9> row{&Command9,  &Command7, &Command1, &Command2, &Command8,
                                                  &Command10, &Command5, &Command4, &Command6};
    for (size_t i = 0; i < row.size(); ++i)
        row[i]->Move(120 + double(i) * 1050, 8280, 1050, 375);
    Command9.setToolTipText(QStringLiteral("前の画像へ戻ります"));
    Command7.setToolTipText(QStringLiteral("次の画像を表示します"));
    Command1.setToolTipText(QStringLiteral("画像を選びます"));
    Command2.setToolTipText(QStringLiteral("BMP形式で保存します"));
    Command8.setToolTipText(QStringLiteral("グリップボードにコピーします"));
    Command10.setToolTipText(QStringLiteral("スライドショーを開始します"));
    Command4.setToolTipText(QStringLiteral("ファイル情報が見れます"));
    Command9.setEnabled(false);
    Command7.setEnabled(false);
    Command10.setEnabled(false);

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
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

std::array<vx::CommandButton *, 10> Form15::colouredButtons()
{
    return {&Command1, &Command2, &Command3, &Command4, &Command5,
            &Command6, &Command7, &Command8, &Command9, &Command10};
}

void Form15::setPicture(const vx::Picture &p)
{
    picture_ = p;
    update();
}

void Form15::paintEvent(QPaintEvent *e)
{
    vx::Form::paintEvent(e);
    if (picture_.isNull())
        return;
    QPainter p(this);
    p.drawImage(client()->geometry().topLeft(), picture_.image);
}

QString Form15::shownFile() const
{
    return vx::joinPath(Dir1.Path(), File1.FileName());
}

void Form15::Form_Load()
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
    suite::restoreFolder(Drive1, Dir1, keys::Section, keys::Dir, keys::DirDefault, keys::Drive, keys::DriveDefault);
}

void Form15::saveAndHide()
{
    Hide();
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
    try {
        Dir1.setPath(Drive1.Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
    }
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
        Picture1.setVisible(true);
        Picture1.setBackColor(suite::GetColor(keys::Section, keys::PicColor, keys::PicColorDefault));
        Command10.setEnabled(true);
        const int index = File1.ListIndex();
        const int count = File1.ListCount();
        Label1.setCaption(viewer3::positionText(index, count));
        Command9.setEnabled(index != 0);
        Command7.setEnabled(index + 1 != count);
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
        // Written to a temporary file and put in place once complete.
        vx::SavePicture(vx::Picture{Picture2.Image(), QStringLiteral("bmp"), {}}, CommonDialog2.FileName);
        vx::MsgBox(QStringLiteral("保存されました(^o^)"));
    } catch (const vx::RuntimeError &) {
    }
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
    vx::shellDriver().showProperties(shownFile());
}

void Form15::Command5_Click()
{
    if (!vx::isShown<Form13>())
        vx::instance<Form13>().Show();
    else
        vx::unload<Form13>();
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
    const int columnLeft = VScroll1.x() + 30;
    for (QWidget *w : std::initializer_list<QWidget *>{&Drive1, &Dir1, &File1, &Label1, &Command3})
        w->move(columnLeft, w->y());
    const int rowTop = HScroll1.y() + 30;
    for (QWidget *w : std::initializer_list<QWidget *>{&Command9, &Command7, &Command1, &Command2, &Command8,
                                                       &Command10, &Command5, &Command4, &Command6})
        w->move(w->x(), rowTop);
}
