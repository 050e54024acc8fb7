#include "form.h"

#include "colors.h"
#include "menu.h"
#include "nativetitle.h"
#include "reach.h"
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

namespace vx {

Form::Form(const QString &name) : QWidget(nullptr), backColor_(syscolor::ButtonFace)
{
    setObjectName(name);
    setWindowTitle(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setAcceptDrops(true);
}

Form::~Form()
{
    for (Menu *m : topMenus_)
        m->formGone();
    FormRegistry::remove(this);
}

QPoint Form::modelPos() const { return asked_ ? *asked_ : pos(); }
double Form::Left() const { return toTwips(modelPos().x()); }
double Form::Top() const { return toTwips(modelPos().y()); }
double Form::Width() const { return toTwips(frameGeometry().width()); }
double Form::Height() const { return toTwips(frameGeometry().height()); }
void Form::setLeft(double twips) { moveTo(QPoint(toPixels(twips), modelPos().y())); }
void Form::setTop(double twips) { moveTo(QPoint(modelPos().x(), toPixels(twips))); }
void Form::Move(double left, double top) { moveTo(QPoint(toPixels(left), toPixels(top))); }

void Form::moveTo(QPoint pixels)
{
    asked_.reset();
    move(pixels);
    if (isVisible())
        keepWithinReach();
}

void Form::keepWithinReach(bool framed)
{
    const QPoint at = pos();
    const QRect frame(at, frameGeometry().size());
    // Once shown, the frame is known: a window placed before fits wholly.
    const QPoint to = framed ? ontoNearest(frame, screenAreas()) : reachablePosition(frame, screenAreas());
    if (to == at)
        return;
    if (!asked_)
        asked_ = at;
    placing_ = true;
    move(to);
    placing_ = false;
    placed_ = to;
}

void Form::setVisible(bool visible)
{
    if (visible && !isVisible())
        keepWithinReach();
    QWidget::setVisible(visible);
}

void Form::moveEvent(QMoveEvent *e)
{
    QWidget::moveEvent(e);
    // Moved by the user (or the desktop): that is where it is now.
    if (asked_ && !placing_ && pos() != placed_)
        asked_.reset();
}

void Form::setWidth(double twips)
{
    const int frame = frameGeometry().width() - width();
    resize(std::max(1, toPixels(twips) - frame), height());
}

void Form::setHeight(double twips)
{
    const int frame = frameGeometry().height() - height();
    resize(width(), std::max(1, toPixels(twips) - frame));
}

double Form::ScaleWidth() const { return toTwips(client_->width()); }
double Form::ScaleHeight() const { return toTwips(client_->height()); }

void Form::setClientSize(double widthTwips, double heightTwips)
{
    const int menuH = (menuBar_ && !menuBar_->isHidden()) ? menuBar_->sizeHint().height() : 0;
    resize(toPixels(widthTwips), toPixels(heightTwips) + menuH);
    layoutClient();
}

void Form::setBackColor(qint32 colour)
{
    // Painted, not put in the palette: a palette would pass the colour on to
    // the menu bar and every control.
    backColor_ = colour;
    update();
}

void Form::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    p.fillRect(e->rect(), toQColor(backColor_));
}

void Form::setMousePointer(int pointer)
{
    pointer_ = pointer;
    applyMousePointer(this, pointer);
}

// Changing a window's flags hides it; that hide must not end a modal show.
void Form::setFlagKeepingShown(Qt::WindowType flag, bool on)
{
    const bool wasVisible = isVisible();
    reshowing_ = true;
    setWindowFlag(flag, on);
    if (wasVisible)
        show();
    reshowing_ = false;
}

void Form::setBorderless(bool on) { setFlagKeepingShown(Qt::FramelessWindowHint, on); }
void Form::setTopmost(bool on) { setFlagKeepingShown(Qt::WindowStaysOnTopHint, on); }

bool Form::Topmost() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void Form::beginDragMove()
{
    if (QWindow *w = windowHandle()) {
        if (w->startSystemMove())
            return;
    }
    // No window manager to do it: follow the pointer ourselves.
    dragging_ = true;
    dragOffset_ = QCursor::pos() - pos();
    grabMouse();
}

void Form::mouseMoveEvent(QMouseEvent *e)
{
    if (dragging_) {
        move(e->globalPosition().toPoint() - dragOffset_);
        return;
    }
    QWidget::mouseMoveEvent(e);
}

void Form::mouseReleaseEvent(QMouseEvent *e)
{
    if (dragging_) {
        dragging_ = false;
        releaseMouse();
        return;
    }
    QWidget::mouseReleaseEvent(e);
}

void Form::dragEnterEvent(QDragEnterEvent *e) { acceptFileDrag(e, OLEDragDrop); }
void Form::dropEvent(QDropEvent *e) { deliverFileDrop(e, OLEDragDrop); }

void Form::Show(int modal)
{
    if (unloaded_)
        return;
    if (modal) {
        if (isVisible())
            vx::raise(400, QStringLiteral("フォームは既に表示されています。モーダル表示にすることはできません。"));
        dialogDriver().runModal(*this);
        return;
    }
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
        activateWindow();
    }
}

void Form::Hide()
{
    hide();
}

bool Form::runUnloadHandlers(int mode)
{
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel)
        return false;
    Form_Unload(cancel);
    return cancel == 0;
}

bool Form::Unload()
{
    if (unloaded_ || unloading_)
        return true;
    unloading_ = true;
    bool ok = false;
    try {
        ok = runUnloadHandlers(1);
    } catch (...) {
        unloading_ = false;
        throw;
    }
    unloading_ = false;
    if (!ok)
        return false;
    discard();
    return true;
}

void Form::discard()
{
    unloaded_ = true;
    FormRegistry::remove(this);
    for (QObject *o : findChildren<QObject *>()) {
        if (auto *t = qobject_cast<QTimer *>(o))
            t->stop();
    }
    hide();
    emit modalEnded();
    deleteWhenHandlersReturn(this);
}

void Form::closeEvent(QCloseEvent *e)
{
    if (programEnded() || unloaded_) {
        e->accept();
        return;
    }
    if (unloading_) {
        e->ignore();
        return;
    }
    bool ok = false;
    unloading_ = true;
    dispatch([&] { ok = runUnloadHandlers(0); });
    unloading_ = false;
    if (programEnded()) {
        e->accept();
        return;
    }
    if (!ok) {
        e->ignore();
        return;
    }
    e->accept();
    discard();
}

void Form::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    layoutClient();
    if (!unloaded_)
        dispatch([this] { Form_Resize(); });
}

void Form::hideEvent(QHideEvent *e)
{
    QWidget::hideEvent(e);
    if (!e->spontaneous() && !reshowing_)
        emit modalEnded();
}

void Form::setCaption(const QString &c)
{
    setWindowTitle(c);
    applyEmptyDesktopTitle(this);
}

void Form::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (asked_ && pos() == placed_)
        keepWithinReach(true);
    applyEmptyDesktopTitle(this);
    if (!e->spontaneous() && !unloaded_)
        dispatch([this] { Form_Activate(); });
}

void Form::layoutClient()
{
    int top = 0;
    if (menuBar_ && !menuBar_->isHidden()) {
        const int h = menuBar_->sizeHint().height();
        menuBar_->setGeometry(0, 0, width(), h);
        top = h;
    }
    client_->setGeometry(0, top, width(), std::max(0, height() - top));
}

void Form::registerMenu(Menu *menu)
{
    topMenus_.push_back(menu);
    if (menuBar_)
        menuBar_->addAction(menu->action());
    menuVisibilityChanged();
}

void Form::unregisterMenu(Menu *menu)
{
    std::erase(topMenus_, menu);
}

void Form::menuVisibilityChanged()
{
    // A bar with no visible entry is not shown (pop-up-only menus), and not
    // built until one is.
    bool any = false;
    for (const Menu *m : topMenus_)
        any = any || m->action()->isVisible();
    if (!menuBar_) {
        if (!any)
            return;
        menuBar_ = new QMenuBar(this);
        menuBar_->setObjectName(QStringLiteral("menuBar"));
        menuBar_->setNativeMenuBar(false);
        menuBar_->hide();
        for (Menu *m : topMenus_) {
            menuBar_->addAction(m->action());
            m->barBuilt();
        }
    }
    QMenuBar *bar = menuBar_;
    const int oldH = bar->isHidden() ? 0 : bar->sizeHint().height();
    bar->setVisible(any);
    const int newH = bar->isHidden() ? 0 : bar->sizeHint().height();
    if (oldH != newH)
        resize(width(), height() + newH - oldH);
    layoutClient();
}

void Form::PopupMenu(Menu &menu)
{
    dialogDriver().popupMenu(*this, menu, QCursor::pos());
}

} // namespace vx
