#include "frmsum.h"
#include "platform/forms/events.h"

#include "form18.h"
#include "form33.h"
#include "frmfullscreen.h"
#include "image/viewer/handover.h"
#include "image/viewer/viewer.h"
#include "keys.h"
#include "module11.h"
#include "platform/core/errors.h"
#include "platform/system/system.h"
#include "suite/folders.h"
#include "suite/settings.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace keys = browser::keys;

namespace {
constexpr int kCellWidth = 1815;
constexpr int kCellHeight = 1695;
} // namespace

frmSum::frmSum() : vx::Form(QStringLiteral("frmSum"))
{
    setCaption(QStringLiteral("Graphic Rondix Ⅱ Version1.9"));
    setClientSize(12465, 9255);
    // A fixed single border: the user cannot resize the window.
    setFixedSize(size());
    File.setPattern(QStringLiteral("*.bmp;*.jpg;*.ico;*.wmf;*.emf;*.dib;*.cur;*.jpeg"));
    Picture1.setBackColor(0);
    Picture1.setBorderStyle(0);
    for (int i = 0; i < 25; ++i) {
        auto cell = std::make_unique<vx::PictureButton>(this, QStringLiteral("Command1(%1)").arg(i), &Picture1);
        cell->Move((i % 5) * kCellWidth, (i / 5) * kCellHeight, kCellWidth, kCellHeight);
        cell->Click = [this, i] { Command1_Click(i); };
        QFont small = cell->font();
        small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
        cell->setFont(small);
        Command1[static_cast<size_t>(i)] = std::move(cell);
    }
    Picture3.setBorderStyle(0);
    Picture3.setVisible(false);
    Picture2.setBorderStyle(0);
    Picture2.setVisible(false);
    VScroll1.setMin(0);
    VScroll1.setMax(0);
    VScroll1.setSmallChange(1);
    VScroll1.setLargeChange(5);
    Picture4.Move(120, 8760, 2775, 375);
    Picture4.setToolTipText(QStringLiteral("プログレスバー"));
    Picture4.setAccessibleName(QStringLiteral("プログレスバー"));
    Label1.setToolTipText(QStringLiteral("フォルダ内の表示できる画像ファイル数"));
    Label1.setBackColor(vx::syscolor::ButtonFace);
    Label1.setAlignment(Qt::AlignCenter);
    Label1.setFocusPolicy(Qt::StrongFocus);
    Label1.installEventFilter(this);

    vx::bindEvents(*this);
    connect(&watcher_, &QFutureWatcherBase::finished, this, [this] { vx::dispatch([this] { takeResult(); }); });
}

frmSum::~frmSum()
{
    stopBuild();
}

void frmSum::setPicture(const vx::Picture &p)
{
    picture_ = p;
    update();
}

void frmSum::paintEvent(QPaintEvent *e)
{
    vx::Form::paintEvent(e);
    if (picture_.isNull())
        return;
    QPainter p(this);
    p.drawImage(client()->geometry().topLeft(), picture_.image);
}

void frmSum::Form_Load()
{
    LastCellIndex = 24;
    LastDrive = Drive.Drive();
    for (auto &cell : Command1)
        cell->setVisible(false);
    cmdCancel.setEnabled(false);
    // The drive's current folder, as the original's first drive change gave:
    // a drive here is a mount point, whose top is not where the program runs.
    Dir_Change();
    VScroll1.setEnabled(false);
    const qint32 formColor = suite::GetColor(keys::Section, keys::FormColor, keys::FormColorDefault);
    setBackColor(formColor);
    vx::instance<Form33>().setBackColor(formColor);
    const qint32 fileColor = suite::GetColor(keys::Section, keys::FileColor, keys::FileColorDefault);
    Drive.setBackColor(fileColor);
    Dir.setBackColor(fileColor);
    File.setBackColor(fileColor);
    Picture4.setForeColor(suite::GetColor(keys::Section, keys::PicColor, keys::PicColorDefault));
    Picture4.setBackColor(suite::GetColor(keys::Section, keys::PicBackColor, keys::PicBackColorDefault));
    const qint32 sumColor = suite::GetColor(keys::Section, keys::SumColor, keys::SumColorDefault);
    for (auto &cell : Command1)
        cell->setBackColor(sumColor);
    Picture1.setBackColor(sumColor);
    Picture2.setBackColor(sumColor);
    Picture3.setBackColor(sumColor);
    const qint32 fullColor = suite::GetColor(keys::Section, keys::FullColor, keys::FullColorDefault);
    frmFullScreen &full = vx::instance<frmFullScreen>();
    full.setBackColor(fullColor);
    full.Picture1.setBackColor(fullColor);
    suite::applyPointer(*this);
    vx::instance<Form18>().HScroll1.setValue(Form18::storedSpeed());
    suite::restorePosition(*this, keys::Section, keys::PositionDefault);
    try {
        Module11::LoadAddList(AddList);
        full.Hide();
        if (const QScreen *s = full.screen() ? full.screen() : QGuiApplication::primaryScreen()) {
            full.setWidth(vx::toTwips(s->geometry().width()));
            full.setHeight(vx::toTwips(s->geometry().height()));
        }
    } catch (const vx::RuntimeError &) {
    }
    suite::restoreFolder(Drive, Dir, keys::Section, keys::Dir, keys::DirDefault, keys::Drive, keys::DriveDefault);
}

void frmSum::Form_Unload(int &cancel)
{
    (void)cancel;
    // The build lets go of the window before anything else.
    stopBuild();
    pauseSlideShow();
    suite::SaveSetting(keys::Section, suite::keys::FormKind, keys::KindBrowser);
    suite::SaveSetting(keys::Section, keys::Dir, Dir.Path());
    suite::SaveSetting(keys::Section, keys::Drive, Drive.Drive());
    vx::unload<Form33>();
    suite::savePosition(*this, keys::Section);
}

void frmSum::Command2_Click()
{
    suite::SaveSetting(keys::Section, suite::keys::FormKind, keys::KindBrowser);
    pauseSlideShow();
    Hide();
    vx::unload<Form33>();
    suite::SaveSetting(keys::Section, keys::Dir, Dir.Path());
    suite::SaveSetting(keys::Section, keys::Drive, Drive.Drive());
    suite::savePosition(*this, keys::Section);
}

void frmSum::Command3_Click()
{
    suite::SaveSetting(keys::Section, suite::keys::FormKind, keys::KindViewer);
    pauseSlideShow();
    Hide();
    vx::unload<Form33>();
    viewer::openViewer(viewer::Viewer::First);
}

void frmSum::Command4_Click()
{
    vx::ShowFileProperties(vx::joinPath(Dir.Path(), File.FileName()));
}

void frmSum::Command5_Click()
{
    viewer::toggleSlideShow(Timer1, Command5, vx::instance<Form18>().HScroll1.Value());
}

void frmSum::pauseSlideShow()
{
    Timer1.setEnabled(false);
    Command5.setCaption(QStringLiteral("スライド再開"));
    Command5.setToolTipText(QStringLiteral("スライドショーを再開します"));
}

void frmSum::Command8_Click()
{
    vx::instance<Form18>().Show(1);
}

void frmSum::Drive_Change()
{
    try {
        Dir.setPath(Drive.Drive());
        LastDrive = Drive.Drive();
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(QStringLiteral("エラー\n") + e.description(), vx::vbCritical);
        try {
            Drive.setDrive(LastDrive);
        } catch (const vx::RuntimeError &) {
        }
    }
}

void frmSum::Dir_Change()
{
    File.setPath(Dir.Path());
    cmdShow.setEnabled(File.ListCount() > 0);
    Label1.setCaption(QString::number(File.ListCount()));
    for (auto &cell : Command1) {
        cell->setPicture({});
        cell->setCaption(QString());
        cell->setVisible(false);
    }
    VScroll1.setEnabled(false);
    ImageList1.Clear();
}

// The count label refreshes from the keyboard too.
bool frmSum::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == &Label1 && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            vx::fire(Label1.Click);
            return true;
        }
    }
    return vx::Form::eventFilter(watched, e);
}

void frmSum::Label1_Click()
{
    if (building())
        return;
    Dir.Refresh();
    File.Refresh();
}

void frmSum::VScroll1_Change()
{
    Module11::ShowThumbnailPage(*this);
}

void frmSum::VScroll1_Scroll()
{
    Module11::ShowThumbnailPage(*this);
}

QString frmSum::folderPrefix() const
{
    return File.Path();
}

void frmSum::showFullScreen(const QString &path)
{
    frmFullScreen &full = vx::instance<frmFullScreen>();
    // The list's click may have just decoded the same file.
    if (!vx::IsPictureOf(full.Picture1.Picture(), path))
        full.Picture1.setPicture(vx::LoadPicture(path));
    full.Picture1.setStretch(false);
    full.centrePicture();
    full.Show();
    full.activateWindow();
    full.Picture1.setFocus();
}

void frmSum::File_Click()
{
    const double window = suite::GetDouble(keys::Section, keys::Window, keys::WindowDefault);
    try {
        if (window == 0) {
            showFullScreen(vx::joinPath(File.Path(), File.FileName()));
        } else {
            // A hidden picture window still holds what it showed last.
            const bool loaded = vx::isLoaded<Form33>();
            Form33 &v = vx::instance<Form33>();
            if (loaded && !v.Visible())
                v.ShowCurrent();
            v.Show();
        }
    } catch (const vx::RuntimeError &) {
    }
}

void frmSum::Command1_Click(int index)
{
    const double window = suite::GetDouble(keys::Section, keys::Window, keys::WindowDefault);
    const int entry = VScroll1.Value() * 2 + index;
    if (entry >= File.ListCount())
        return;
    // The cell of the entry selected already opens it too.
    if (File.ListIndex() == entry)
        File_Click();
    else
        File.setListIndex(entry);
    if (window == 0) {
        if (vx::isLoaded<frmFullScreen>())
            vx::instance<frmFullScreen>().centrePicture();
    } else {
        vx::unload<Form33>();
        vx::instance<Form33>().Show();
    }
}

void frmSum::Timer1_Timer()
{
    if (File.ListIndex() + 1 == File.ListCount())
        File.setListIndex(-1);
    try {
        const int count = File.ListCount();
        File.setListIndex(File.ListIndex() + 1);
        if (File.ListIndex() + 1 != count)
            showFullScreen(vx::joinPath(File.Path(), File.FileName()));
    } catch (const vx::RuntimeError &) {
    }
}
