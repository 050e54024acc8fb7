#include "tabstrip.h"

#include "platform/core/errors.h"
#include "pointer.h"
#include "program.h"

#include <QTabBar>

namespace vx {

TabControl::TabControl(Form *form, const QString &name, const QStringList &captions, QWidget *container)
    : Control(form, name, container)
{
    for (const QString &c : captions) {
        auto *page = new QWidget(this);
        page->setObjectName(name + QStringLiteral("_page%1").arg(count()));
        page->setAccessibleName(c);
        addTab(page, c);
    }
    setAccessibleName(name);
    // The tab row takes the keyboard focus like any control; Ctrl+Tab and the
    // arrow keys move between pages.
    tabBar()->setFocusPolicy(Qt::StrongFocus);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = shown_;
        shown_ = index;
        if (Click) {
            auto handler = Click;
            fire([handler, previous] { handler(previous); });
        }
    });
}

void TabControl::setTab(int index)
{
    if (index < 0 || index >= count())
        vx::raise(err::InvalidProperty);
    setCurrentIndex(index);
}

void TabControl::setMousePointer(int pointer)
{
    pointer_ = pointer;
    // The tab row carries the pointer; the pages keep their controls' own.
    applyMousePointer(tabBar(), pointer);
}

} // namespace vx
