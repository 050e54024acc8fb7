#pragma once
// The tab control: pages in a row of tabs, each page a holder for controls.
// Tab is 0-based; setting it from code runs Click when the page changes.
#include "control.h"

#include <QTabWidget>

#include <functional>

namespace vx {

class TabControl : public Control<QTabWidget> {
    Q_OBJECT
public:
    TabControl(Form *form, const QString &name, const QStringList &captions, QWidget *container = nullptr);
    int Tabs() const { return count(); }
    int Tab() const { return currentIndex(); }
    // An index outside the tabs raises 380.
    void setTab(int index);
    QString TabCaption(int index) const { return tabText(index); }
    // The holder of a page's controls.
    QWidget *page(int index) const { return widget(index); }
    int MousePointer() const { return pointer_; }
    void setMousePointer(int pointer);
    // The previous tab is passed, as the classic control does.
    std::function<void(int)> Click;

private:
    int pointer_ = 0;
    int shown_ = 0;
};

} // namespace vx
