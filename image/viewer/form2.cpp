#include "form2.h"
#include "platform/forms/events.h"

#include "suite/artwork.h"
#include "suite/folders.h"
#include "suite/settings.h"
#include "image/magnifier/form13.h"
#include "form14.h"
#include "form28.h"
#include "form32.h"
#include "handover.h"
#include "keys.h"
#include "platform/core/errors.h"
#include "platform/system/system.h"
#include "viewer.h"

#include <QApplication>
#include <QMenuBar>
#include <QFileInfo>
#include <QPainter>

#include <array>

namespace keys = viewer::keys::GraphicRondix;
namespace kind = viewer::keys::GraphicRondix2;

// The drawing is compiled into this static library, where nothing else refers
// to it: registered by hand before it is drawn.
static void registerViewerArtwork() { Q_INIT_RESOURCE(viewer); }

namespace {

// Shown until the first file is chosen: a small landscape of our own, drawn
// at the size of the box it fills (9540 x 7785 twips).
vx::Picture startupPicture()
{
    static const bool registered = (registerViewerArtwork(), true);
    (void)registered;
    return {suite::drawArtwork(QStringLiteral(":/viewer/startup.svg"), QSize(9540 / 15, 7785 / 15), QImage::Format_RGB32),
            QStringLiteral("bmp"), {}};
}

} // namespace

Form2::Form2() : vx::Form(QStringLiteral("Form2"))
{
    setCaption(QStringLiteral("Graphic Rondix Version5.1"));
    setClientSize(12255, 8520);
    File1.setPattern(QStringLiteral("*.bmp;*.jpg;*.ico;*.wmf;*.emf;*.dib;*.cur;*.jpeg;*.jpe"));
    Image1.setPicture(startupPicture());
    CommonDialog2.FileName = QStringLiteral("noname.bmp");
    // Nothing to switch to while no browser was given.
    Command12.setEnabled(viewer::canOpenViewer(viewer::Viewer::Browser));

    vx::bindEvents(*this);
}

void Form2::setPicture(const vx::Picture &p)
{
    picture_ = p;
    update();
}

void Form2::paintEvent(QPaintEvent *e)
{
    vx::Form::paintEvent(e);
    if (picture_.isNull())
        return;
    QPainter p(this);
    p.drawImage(client()->geometry().topLeft(), picture_.image);
}

QString Form2::shownFile() const
{
    return vx::joinPath(Dir1.Path(), File1.FileName());
}

void Form2::Form_Load()
{
    Command10.setCaption(QStringLiteral("スライドショー"));
    setBackColor(suite::GetColor(keys::Section, keys::FormColor, keys::FormColorDefault));
    vx::instance<Form32>().setBackColor(suite::GetColor(keys::Section, keys::FormColor, keys::FormColorDefault));
    Label1.setBackColor(suite::GetColor(keys::Section, keys::FileColor, keys::FileColorDefault));
    Drive1.setBackColor(suite::GetColor(keys::Section, keys::FileColor, keys::FileColorDefault));
    Dir1.setBackColor(suite::GetColor(keys::Section, keys::FileColor, keys::FileColorDefault));
    File1.setBackColor(suite::GetColor(keys::Section, keys::FileColor, keys::FileColorDefault));
    vx::instance<Form14>().HScroll1.setValue(Form14::storedSpeed());
    suite::applyPointer(*this);
    suite::restorePosition(*this, keys::Section, keys::PositionDefault);
    suite::restoreFolder(Drive1, Dir1, keys::Section, keys::Dir, keys::DirDefault, keys::Drive, keys::DriveDefault);
}

void Form2::Form_Unload(int &cancel)
{
    (void)cancel;
    saveAndHide();
}

void Form2::Command1_Click()
{
    saveAndHide();
}

void Form2::saveAndHide()
{
    suite::SaveSetting(kind::Section, suite::keys::FormKind, kind::KindViewer);
    Timer1.setEnabled(false);
    Hide();
    vx::ReleaseSparePictureMemory();
    vx::unload<Form13>();
    vx::unload<Form32>();
    suite::SaveSetting(keys::Section, keys::Dir, Dir1.Path());
    suite::SaveSetting(keys::Section, keys::Drive, Drive1.Drive());
    suite::savePosition(*this, keys::Section);
}

void Form2::Drive1_Change()
{
    try {
        Dir1.setPath(Drive1.Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
    }
}

void Form2::Dir1_Change()
{
    File1.setPath(Dir1.Path());
}

void Form2::File1_Click()
{
    const double zoom = viewer::zoomSetting();
    const int index = File1.ListIndex();
    const int count = File1.ListCount();
    Command10.setEnabled(true);
    Label1.setCaption(viewer::positionText(index, count));
    try {
        Command9.setEnabled(index != 0);
        Command6.setEnabled(index + 1 != count);
        std::optional<double> ratio;
        if (zoom != 0)
            ratio = viewer::zoomRatio();
        viewer::showPicture(Image1, shownFile(), ratio);
    } catch (const vx::RuntimeError &) {
    }
}

// Next, previous and the slide step only move the selection: the list's click
// shows the file, once.
void Form2::Command6_Click()
{
    try {
        File1.setListIndex(File1.ListIndex() + 1);
    } catch (const vx::RuntimeError &) {
    }
}

void Form2::Command9_Click()
{
    if (File1.ListIndex() <= 0)
        return;
    try {
        File1.setListIndex(File1.ListIndex() - 1);
    } catch (const vx::RuntimeError &) {
    }
}

void Form2::Command10_Click()
{
    viewer::toggleSlideShow(Timer1, Command10, vx::instance<Form14>().HScroll1.Value());
}

void Form2::Timer1_Timer()
{
    const int count = File1.ListCount();
    if (count == 0)
        return;
    const int index = File1.ListIndex();
    const int next = index + 1 >= count ? 0 : index + 1;
    try {
        // A one-file folder shows its file again at every step.
        if (next == index)
            File1_Click();
        else
            File1.setListIndex(next);
    } catch (const vx::RuntimeError &) {
    }
}

void Form2::Command2_Click()
{
    try {
        viewer::scaleBox(Image1, viewer::zoomRatio() * 1.05);
    } catch (const vx::RuntimeError &) {
    }
}

void Form2::Command3_Click()
{
    try {
        viewer::scaleBox(Image1, viewer::zoomRatio() * 0.95);
    } catch (const vx::RuntimeError &) {
    }
}

void Form2::Command4_Click()
{
    Image1.setStretch(false);
}

void Form2::Command5_Click()
{
    if (!vx::isShown<Form13>())
        vx::instance<Form13>().Show();
    else
        vx::unload<Form13>();
}

void Form2::Command13_Click()
{
    if (!vx::isShown<Form32>()) {
        Image1.setVisible(false);
        // Loaded hidden earlier (colours), it would still show what the list
        // held back then.
        const bool wasLoaded = vx::isLoaded<Form32>();
        Form32 &viewer = vx::instance<Form32>();
        if (wasLoaded)
            viewer.ShowCurrent();
        viewer.Show();
    } else {
        Image1.setVisible(true);
        vx::unload<Form32>();
    }
}

void Form2::Command7_Click()
{
    try {
        if (vx::CopyPictureToClipboard(Image1.Picture()))
            vx::MsgBox(QStringLiteral("クリップボードに保存されました(^o^)"));
    } catch (const vx::RuntimeError &) {
    }
}

void Form2::Command11_Click()
{
    vx::ShowFileProperties(shownFile());
}

void Form2::IDMOPEN_Click()
{
    CommonDialog1.Filter = QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif");
    if (!CommonDialog1.ShowOpen())
        return;
    try {
        Image1.setPicture(vx::LoadPicture(CommonDialog1.FileName));
    } catch (const vx::RuntimeError &) {
    }
}

void Form2::IDMSave_Click()
{
    CommonDialog2.Filter = QStringLiteral("BMPファイル (*.bmp)|*.bmp");
    if (!CommonDialog2.ShowSave())
        return;
    // No picture, nothing to save; a failed save says why.
    if (Image1.Picture().isNull() || !vx::SavePictureSayingWhy(Image1.Picture(), CommonDialog2.FileName))
        return;
    vx::MsgBox(QStringLiteral("保存されました(^o^)"));
}

void Form2::IDMPrint_Click()
{
    QApplication::processEvents();
    const QString error = vx::PrintPicture(Image1.Picture());
    if (!error.isEmpty())
        vx::MsgBox(error);
}

void Form2::File1_OLEDragDrop(const QStringList &files)
{
    viewer::dropPictures(Image1, files);
}

void Form2::Command8_Click()
{
    vx::instance<Form14>().Show(1);
}

void Form2::IDMSizeChange_Click()
{
    vx::instance<Form28>().Show(1);
}

void Form2::BottonColor_Click()
{
    const std::array<vx::CommandButton *, 13> buttons{&Command1, &Command2,  &Command3,  &Command4, &Command5,
                                                      &Command6, &Command7,  &Command8,  &Command9, &Command10,
                                                      &Command11, &Command12, &Command13};
    suite::applyButtonColor(keys::Section, buttons);
}

void Form2::Image1_MouseDown(int button, int shift, float x, float y)
{
    (void)shift;
    (void)x;
    (void)y;
    if (button == 2)
        PopupMenu(IDMFile);
}

void Form2::Command12_Click()
{
    // Stays here until there is a browser to hand over to.
    if (!Command12.isEnabled())
        return;
    suite::SaveSetting(kind::Section, suite::keys::FormKind, kind::KindBrowser);
    Timer1.setEnabled(false);
    Hide();
    vx::unload<Form13>();
    vx::unload<Form32>();
    vx::ReleaseSparePictureMemory();
    showBrowser();
}

void Form2::showBrowser()
{
    viewer::openViewer(viewer::Viewer::Browser);
}
