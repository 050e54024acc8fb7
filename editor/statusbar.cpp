#include "statusbar.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QTimer>

#if __has_include(<X11/XKBlib.h>)
#include <X11/XKBlib.h>
#define EDITOR_HAVE_XKB 1
#endif

namespace editor {

namespace {

std::optional<bool> displayLockState(PanelStyle style)
{
#ifdef EDITOR_HAVE_XKB
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *dpy = x11 ? x11->display() : nullptr;
    if (!dpy)
        return std::nullopt;
    const char *name = nullptr;
    switch (style) {
    case PanelStyle::Caps: name = "Caps Lock"; break;
    case PanelStyle::Num: name = "Num Lock"; break;
    case PanelStyle::Scroll: name = "Scroll Lock"; break;
    case PanelStyle::Kana: name = "Kana"; break;
    default: return std::nullopt;
    }
    const Atom atom = XInternAtom(dpy, name, True);
    if (atom == None)
        return std::nullopt;
    Bool on = False;
    if (!XkbGetNamedIndicator(dpy, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on == True;
#else
    (void)style;
    return std::nullopt;
#endif
}

LockQuery &query()
{
    static LockQuery q = displayLockState;
    return q;
}

QString caption(PanelStyle s)
{
    switch (s) {
    case PanelStyle::Caps: return QStringLiteral("CAPS");
    case PanelStyle::Num: return QStringLiteral("NUM");
    case PanelStyle::Ins: return QStringLiteral("INS");
    case PanelStyle::Scroll: return QStringLiteral("SCRL");
    case PanelStyle::Kana: return QStringLiteral("KANA");
    default: return QString();
    }
}

} // namespace

void setLockQuery(LockQuery q) { query() = q ? q : displayLockState; }
std::optional<bool> lockState(PanelStyle style) { return query()(style); }

StatusBar::StatusBar(vx::Form *form, const QString &name) : Control(form, name), timer_(new QTimer(this))
{
    setFrameShape(QFrame::StyledPanel);
    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(2, 1, 2, 1);
    lay->setSpacing(2);
    setAccessibleName(QStringLiteral("ステータスバー"));
    connect(timer_, &QTimer::timeout, this, &StatusBar::refresh);
    timer_->start(500);
}

void StatusBar::addPanel(PanelStyle style, int widthTwips, const QString &key)
{
    auto *l = new QLabel(this);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(vx::toPixels(widthTwips));
    l->setFocusPolicy(Qt::NoFocus);
    static_cast<QHBoxLayout *>(layout())->addWidget(l, style == PanelStyle::Text ? 1 : 0);
    panels_.push_back({style, key, l});
    refresh();
}

QString StatusBar::PanelText(int index) const
{
    if (index < 1 || index > PanelCount())
        return QString();
    return panels_[static_cast<size_t>(index - 1)].label->text();
}

void StatusBar::setPanelText(int index, const QString &text)
{
    if (index < 1 || index > PanelCount())
        return;
    QLabel *l = panels_[static_cast<size_t>(index - 1)].label;
    if (l->text() != text) {
        l->setText(text);
        l->setAccessibleName(text);
    }
}

bool StatusBar::PanelEnabled(int index) const
{
    if (index < 1 || index > PanelCount())
        return false;
    return panels_[static_cast<size_t>(index - 1)].on;
}

QString StatusBar::PanelKey(int index) const
{
    if (index < 1 || index > PanelCount())
        return QString();
    return panels_[static_cast<size_t>(index - 1)].key;
}

void StatusBar::refresh()
{
    const QDateTime now = QDateTime::currentDateTime();
    for (Panel &p : panels_) {
        switch (p.style) {
        case PanelStyle::Text: break;
        case PanelStyle::Date: p.label->setText(now.date().toString(QStringLiteral("yyyy/MM/dd"))); break;
        case PanelStyle::Time: p.label->setText(now.time().toString(QStringLiteral("H:mm"))); break;
        default: {
            // An unknown state is shown greyed, like a key that is off.
            bool on = false;
            if (p.style == PanelStyle::Ins)
                on = insertMode ? insertMode() : true;
            else
                on = lockState(p.style).value_or(false);
            p.on = on;
            p.label->setText(caption(p.style));
            p.label->setEnabled(on);
            p.label->setAccessibleName(caption(p.style) + (on ? QStringLiteral(" オン") : QStringLiteral(" オフ")));
        }
        }
    }
}

} // namespace editor
