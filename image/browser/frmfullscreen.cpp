#include "frmfullscreen.h"
#include "platform/forms/events.h"

#include "frmsum.h"
#include "suite/settings.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

int g_beeps = 0;

void beep()
{
    ++g_beeps;
    QApplication::beep();
}

constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;

} // namespace

int frmFullScreen::beeps() { return g_beeps; }

frmFullScreen::frmFullScreen() : vx::Form(QStringLiteral("frmFullScreen"))
{
    setCaption(QString());
    setBorderless(true);
    setBackColor(0);
    Picture1.setFocusPolicy(Qt::StrongFocus);
    Picture1.setAccessibleName(QStringLiteral("Picture1"));
    Picture1.installEventFilter(this);
    client()->installEventFilter(this);
    installEventFilter(this);
    vx::bindEvents(*this);
}

// Always the whole screen, whatever sized the window while it was hidden.
void frmFullScreen::showEvent(QShowEvent *e)
{
    vx::Form::showEvent(e);
    if (!(windowState() & Qt::WindowFullScreen))
        setWindowState(windowState() | Qt::WindowFullScreen);
}

void frmFullScreen::Form_Load()
{
    suite::applyPointer(*this);
}

void frmFullScreen::centrePicture()
{
    // The window's own size: a hidden window lays its client area out only
    // when shown, and this one has no frame or menu.
    Picture1.setLeft((vx::toTwips(width()) - Picture1.Width()) / 2);
    Picture1.setTop((vx::toTwips(height()) - Picture1.Height()) / 2);
}

void frmFullScreen::Form_Click()
{
    Picture1.setPicture({});
    Hide();
    frmSum &owner = vx::instance<frmSum>();
    owner.Timer1.setEnabled(false);
    owner.Command5.setCaption(QStringLiteral("スライド再開"));
    owner.Command5.setToolTipText(QStringLiteral("スライドショーを再開します"));
    QApplication::processEvents();
}

void frmFullScreen::Picture1_KeyPress(int keyAscii)
{
    (void)keyAscii;
    Form_Click();
}

void frmFullScreen::Picture1_KeyUp(int keyCode)
{
    vx::FileListBox &files = vx::instance<frmSum>().File;
    if (keyCode == kKeyRight) {
        if (files.ListCount() > files.ListIndex() + 1)
            files.setListIndex(files.ListIndex() + 1);
        else
            beep();
    } else if (keyCode == kKeyLeft) {
        if (files.ListIndex() - 1 < 0)
            beep();
        else
            files.setListIndex(files.ListIndex() - 1);
    }
}

bool frmFullScreen::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto *k = static_cast<QKeyEvent *>(e);
        // A key that gives a character closes, as the original's KeyPress did.
        if (!k->text().isEmpty() && k->text().at(0) != QChar(0x7F)) {
            const int ascii = k->text().at(0).unicode();
            vx::dispatch([this, ascii] { Picture1_KeyPress(ascii); });
            return true;
        }
        return k->key() == Qt::Key_Left || k->key() == Qt::Key_Right;
    }
    case QEvent::KeyRelease: {
        auto *k = static_cast<QKeyEvent *>(e);
        // The original saw one key up however long the key was held.
        if (k->isAutoRepeat())
            return true;
        const int code = k->key() == Qt::Key_Left ? kKeyLeft : k->key() == Qt::Key_Right ? kKeyRight : 0;
        if (code)
            vx::dispatch([this, code] { Picture1_KeyUp(code); });
        return code != 0;
    }
    case QEvent::MouseButtonRelease:
        if (watched == client() || watched == this) {
            if (static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton)
                vx::dispatch([this] { Form_Click(); });
            return true;
        }
        break;
    default:
        break;
    }
    return vx::Form::eventFilter(watched, e);
}
