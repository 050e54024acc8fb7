#pragma once
// The window model: one program-wide instance per window type, created on first
// touch (its load handler runs at that moment, hidden), shown modeless or modal,
// hidden, unloaded (closing handlers run, state discarded, next touch creates
// it afresh). Positions and sizes are twips, colours classic 32-bit values.
#include <QPointer>
#include <QString>
#include <QWidget>

#include "drops.h"
#include "pointer.h"
#include "program.h"

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <typeindex>
#include <vector>

class QMenuBar;

namespace vx {

inline constexpr int kTwipsPerPixel = 15;
// Rounded to the nearest pixel; clamped to what a window position can hold.
inline int toPixels(double twips)
{
    const double px = twips / kTwipsPerPixel;
    if (!(px > -1e9))
        return -1000000000;
    if (px > 1e9)
        return 1000000000;
    return static_cast<int>(px >= 0 ? px + 0.5 : px - 0.5);
}
inline double toTwips(int pixels) { return static_cast<double>(pixels) * kTwipsPerPixel; }

class Menu;

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString &name);
    ~Form() override;

    QString Name() const { return objectName(); }

    // Handlers a window may override.
    virtual void Form_Load() {}
    // unloadMode: 0 close box, 1 code (Unload).
    virtual void Form_QueryUnload(int &cancel, int unloadMode) { (void)cancel; (void)unloadMode; }
    virtual void Form_Unload(int &cancel) { (void)cancel; }
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}

    // Caption, geometry in twips (outer frame for Left/Top/Width/Height).
    QString Caption() const { return windowTitle(); }
    // An empty caption leaves the window nameless on the desktop too.
    void setCaption(const QString &c);
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top);
    double ScaleWidth() const;
    double ScaleHeight() const;
    // Sets the client area (below the menu bar).
    void setClientSize(double widthTwips, double heightTwips);

    qint32 BackColor() const { return backColor_; }
    void setBackColor(qint32 colour);
    int MousePointer() const { return pointer_; }
    void setMousePointer(int pointer);

    // Title bar and control box off: a bare window.
    void setBorderless(bool on);
    // Always on top of normal windows.
    void setTopmost(bool on);
    bool Topmost() const;
    // The window follows the pointer until the left button is released, as if
    // its title bar were held (for windows without one).
    void beginDragMove();

    // Visible state as the user sees it.
    bool Visible() const { return isVisible(); }
    // A window is never shown out of reach: one whose title bar would lie on
    // no screen goes onto the nearest one. Left and Top still report where it
    // was asked to be until it is moved again, so a save keeps what is stored.
    void setVisible(bool visible) override;
    // modal 0: modeless; 1: modal, returns when the window is hidden or
    // unloaded (error 400 when it is already shown).
    void Show(int modal = 0);
    void Hide();
    // Runs the closing handlers; unless cancelled, the window is discarded.
    // Returns false when a handler cancelled.
    bool Unload();
    bool isUnloaded() const { return unloaded_; }

    // Client area: where controls live.
    QWidget *client() const { return client_; }
    // The menu bar, built when the first visible top-level entry needs it: a
    // window whose menus only pop up never builds one.
    QMenuBar *menuBar() const { return menuBar_; }
    // Top-level entries, in order (the menu calls these).
    void registerMenu(Menu *menu);
    void unregisterMenu(Menu *menu);
    // A top-level entry's visibility changed.
    void menuVisibilityChanged();
    // Shows a menu as a pop-up at the pointer.
    void PopupMenu(Menu &menu);

    // Files dropped on the window itself (local paths in the order given).
    std::function<void(const QStringList &)> OLEDragDrop;

signals:
    // Emitted when the window is hidden or unloaded (ends a modal show).
    void modalEnded();

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    bool runUnloadHandlers(int mode);
    void setFlagKeepingShown(Qt::WindowType flag, bool on);
    void discard();
    void layoutClient();
    void moveTo(QPoint pixels);
    void keepWithinReach(bool framed = false);
    QPoint modelPos() const;

    QWidget *client_ = nullptr;
    QMenuBar *menuBar_ = nullptr;
    std::vector<Menu *> topMenus_;
    qint32 backColor_;
    int pointer_ = 0;
    bool unloaded_ = false;
    bool unloading_ = false;
    bool dragging_ = false;
    bool reshowing_ = false;
    QPoint dragOffset_;
    // Where code asked the window to be, while it is shown elsewhere (placed_)
    // to keep it within reach.
    std::optional<QPoint> asked_;
    QPoint placed_;
    bool placing_ = false;
    friend class FormRegistry;
};

} // namespace vx

#include "registry.h"
