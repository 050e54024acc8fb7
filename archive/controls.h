#pragma once
// The two controls the archive window needs beyond the common ones: the tab
// control holding its panes and a text box that takes dropped files.
#include "platform/forms/textbox.h"

#include <QStringList>
#include <QTabWidget>

#include <functional>

namespace archive {

class SSTab : public vx::Control<QTabWidget> {
    Q_OBJECT
public:
    SSTab(vx::Form *form, const QString &name, const QStringList &tabs);
    // The page widget of tab `index` (0-based), the container of its controls.
    QWidget *page(int index) const;
    int Tab() const { return currentIndex(); }
    void setTab(int index) { setCurrentIndex(index); }
    int Tabs() const { return count(); }
};

// A read-only multi-line box whose text stays; dropped local files and folders
// go to OLEDragDrop in the order given.
class DropBox : public vx::TextBox {
    Q_OBJECT
public:
    DropBox(vx::Form *form, const QString &name, QWidget *container);
    std::function<void(const QStringList &)> OLEDragDrop;

protected:
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;
};

} // namespace archive
