#pragma once
// The window model: one program-wide instance per window type, created on first
// touch (its load handler runs at that moment, hidden), shown modeless or modal,
// hidden, unloaded (closing handlers run, state discarded, next touch creates
// it afresh). Positions and sizes are twips, colours classic 32-bit values.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <stdexcept>
#include <typeindex>
#include <vector>

class QMenuBar;
class QMimeData;
class QDropEvent;

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

// Mouse pointer numbers as stored: 0 default, 99 the custom pointer.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerCustom = 99;
void applyMousePointer(QWidget *w, int pointer);

// Thrown by End() while the program runs under tests: the end is observed
// instead of the process dying.
struct ProgramEnded : std::exception {
    const char *what() const noexcept override { return "program ended"; }
};

// Ends the program at once: no closing handler of any window runs.
[[noreturn]] void End();
bool programEnded();
// Tests: End() throws ProgramEnded instead of leaving the process (and the
// ended state starts afresh).
void setEndThrows(bool throws);

// Local files of a drag-and-drop (in the order given).
QStringList droppedFiles(const QMimeData *data);
using FileDropHandler = std::function<void(const QStringList &)>;
// A drag (enter or move) of local files is accepted only where a handler waits.
void acceptFileDrag(QDropEvent *e, const FileDropHandler &handler);
// Hands the dropped local files to the handler.
void deliverFileDrop(QDropEvent *e, const FileDropHandler &handler);

// Runs an event handler started by the user. A run-time error that escapes it is
// shown as a message box (the program goes on); the end of the program stops it.
void dispatch(const std::function<void()> &handler);

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
    void setCaption(const QString &c) { setWindowTitle(c); }
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
    QMenuBar *menuBar();
    void registerMenu(Menu *menu);
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
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    bool runUnloadHandlers(int mode);
    void setFlagKeepingShown(Qt::WindowType flag, bool on);
    void discard();
    void layoutClient();

    QWidget *client_ = nullptr;
    QMenuBar *menuBar_ = nullptr;
    qint32 backColor_;
    int pointer_ = 0;
    bool unloaded_ = false;
    bool unloading_ = false;
    bool dragging_ = false;
    bool reshowing_ = false;
    QPoint dragOffset_;
    friend class FormRegistry;
};

// The program-wide instances.
class FormRegistry {
public:
    static Form *find(std::type_index type);
    static void add(std::type_index type, Form *form);
    static void remove(Form *form);
    static Form *findByName(const QString &name);
    // Every loaded window (for tests and for the end of the program).
    static std::vector<Form *> all();
    // Discards every window without running handlers (tests).
    static void reset();
};

// The window of type T, creating it (hidden, load handler run) when not loaded.
template <class T>
T &instance()
{
    if (Form *f = FormRegistry::find(typeid(T)))
        return *static_cast<T *>(f);
    T *f = new T();
    FormRegistry::add(typeid(T), f); // registered before its load: loads call back
    f->Form_Load();
    return *f;
}

template <class T>
bool isLoaded()
{
    return FormRegistry::find(typeid(T)) != nullptr;
}

// Unloads T when it is loaded; nothing otherwise.
template <class T>
void unload()
{
    if (Form *f = FormRegistry::find(typeid(T)))
        f->Unload();
}

// Visible state without loading.
template <class T>
bool isShown()
{
    Form *f = FormRegistry::find(typeid(T));
    return f && f->Visible();
}

} // namespace vx
