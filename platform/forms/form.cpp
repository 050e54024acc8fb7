#include "form.h"

#include "colors.h"
#include "menu.h"
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QCursor>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

namespace vx {

namespace {
bool g_endThrows = false;
bool g_ended = false;
// Handlers on the stack, and windows unloaded meanwhile: a window is deleted
// only once no handler runs, since one of its own may still wait in a message
// box or a modal window whose event loop saw the unload.
int g_handlerDepth = 0;
std::vector<QPointer<Form>> g_unloaded;

void deleteUnloaded()
{
    auto forms = std::move(g_unloaded);
    g_unloaded.clear();
    for (const QPointer<Form> &f : forms)
        if (f)
            f->deleteLater();
}

struct Registry {
    std::map<std::type_index, Form *> byType;
};
Registry &registry()
{
    static Registry r;
    return r;
}

// Our own pointer image: a plain arrow with a light-blue fill.
const QCursor &customCursor()
{
    static const QCursor cursor = [] {
        QPixmap pm(32, 32);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF arrow[] = {{1, 1}, {1, 21}, {6, 16}, {10, 25}, {13, 24}, {9, 15}, {16, 15}};
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(QColor(0x7F, 0xC8, 0xF8));
        p.drawPolygon(arrow, 7);
        p.end();
        return QCursor(pm, 1, 1);
    }();
    return cursor;
}
} // namespace

void applyMousePointer(QWidget *w, int pointer)
{
    switch (pointer) {
    case 0: w->unsetCursor(); break;
    case 1: w->setCursor(Qt::ArrowCursor); break;
    case 2: w->setCursor(Qt::CrossCursor); break;
    case 3: w->setCursor(Qt::IBeamCursor); break;
    case 11: w->setCursor(Qt::WaitCursor); break;
    case 99:
        if (qobject_cast<QApplication *>(QCoreApplication::instance()))
            w->setCursor(customCursor());
        break;
    default: w->unsetCursor(); break;
    }
}

void End()
{
    g_ended = true;
    if (g_endThrows)
        throw ProgramEnded();
    releaseInstanceLock();
    std::fflush(nullptr);
    ::_exit(0);
}

bool programEnded() { return g_ended; }
void setEndThrows(bool throws)
{
    g_endThrows = throws;
    g_ended = false;
}

void dispatch(const std::function<void()> &handler)
{
    if (g_ended)
        return;
    struct Depth {
        Depth() { ++g_handlerDepth; }
        ~Depth()
        {
            if (--g_handlerDepth == 0)
                deleteUnloaded();
        }
    } depth;
    try {
        handler();
    } catch (const ProgramEnded &) {
        // The end was recorded; nothing more runs.
    } catch (const RuntimeError &e) {
        MsgBox(e.description().isEmpty() ? QStringLiteral("実行時エラー %1").arg(e.number()) : e.description(),
               vbCritical);
    } catch (const std::bad_alloc &) {
        MsgBox(errorText(err::OutOfMemory), vbCritical);
    } catch (const std::exception &e) {
        MsgBox(QStringLiteral("実行時エラーです。\n%1").arg(QString::fromLocal8Bit(e.what())), vbCritical);
    }
}

// --- Form ---------------------------------------------------------------

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
    FormRegistry::remove(this);
}

double Form::Left() const { return toTwips(pos().x()); }
double Form::Top() const { return toTwips(pos().y()); }
double Form::Width() const { return toTwips(frameGeometry().width()); }
double Form::Height() const { return toTwips(frameGeometry().height()); }
void Form::setLeft(double twips) { move(toPixels(twips), pos().y()); }
void Form::setTop(double twips) { move(pos().x(), toPixels(twips)); }
void Form::Move(double left, double top) { move(toPixels(left), toPixels(top)); }

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

QStringList droppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data)
        return files;
    for (const QUrl &u : data->urls())
        if (u.isLocalFile())
            files << u.toLocalFile();
    return files;
}

void acceptFileDrag(QDropEvent *e, const FileDropHandler &handler)
{
    if (handler && !droppedFiles(e->mimeData()).isEmpty())
        e->acceptProposedAction();
    else
        e->ignore();
}

void deliverFileDrop(QDropEvent *e, const FileDropHandler &handler)
{
    const QStringList files = droppedFiles(e->mimeData());
    if (!handler || files.isEmpty()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    dispatch([&] { handler(files); });
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
    if (g_handlerDepth > 0)
        g_unloaded.emplace_back(this);
    else
        deleteLater();
}

void Form::closeEvent(QCloseEvent *e)
{
    if (g_ended || unloaded_) {
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
    if (g_ended) {
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

void Form::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
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

QMenuBar *Form::menuBar()
{
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setObjectName(QStringLiteral("menuBar"));
        menuBar_->setNativeMenuBar(false);
        menuBar_->hide();
    }
    return menuBar_;
}

void Form::registerMenu(Menu *menu)
{
    // A bar with no visible entry is not shown (pop-up-only menus).
    (void)menu;
    QMenuBar *bar = menuBar();
    bool any = false;
    for (QAction *a : bar->actions())
        any = any || a->isVisible();
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

// --- registry -----------------------------------------------------------

Form *FormRegistry::find(std::type_index type)
{
    auto &m = registry().byType;
    auto it = m.find(type);
    return it == m.end() ? nullptr : it->second;
}

void FormRegistry::add(std::type_index type, Form *form)
{
    registry().byType[type] = form;
}

void FormRegistry::remove(Form *form)
{
    auto &m = registry().byType;
    for (auto it = m.begin(); it != m.end(); ++it) {
        if (it->second == form) {
            m.erase(it);
            return;
        }
    }
}

Form *FormRegistry::findByName(const QString &name)
{
    for (auto &[t, f] : registry().byType)
        if (f->objectName() == name)
            return f;
    return nullptr;
}

std::vector<Form *> FormRegistry::all()
{
    std::vector<Form *> v;
    for (auto &[t, f] : registry().byType)
        v.push_back(f);
    return v;
}

void FormRegistry::reset()
{
    auto forms = all();
    registry().byType.clear();
    for (Form *f : forms) {
        f->unloaded_ = true;
        f->hide();
        delete f;
    }
}

} // namespace vx
