#include "listbox.h"

#include "platform/core/errors.h"

#include <QScrollBar>

namespace vx {

void followSelection(QListWidget *list)
{
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list] {
        const QList<QListWidgetItem *> selected = list->selectedItems();
        if (selected.size() == 1 && selected.first() != list->currentItem())
            list->setCurrentItem(selected.first());
    });
}

ListBox::ListBox(Form *form, const QString &name, QWidget *container) : Control(form, name, container)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    setColorRoles({QPalette::Base}, {QPalette::Text});
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Any change of the selected row (mouse, keys, assistive tools) is a click.
    connect(this, &QListWidget::currentRowChanged, this, [this] {
        if (!settingIndex_)
            fire(Click);
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { fire(DblClick); });
    followSelection(this);
}

void ListBox::AddItem(const QString &item)
{
    settingIndex_ = true;
    addItem(item);
    settingIndex_ = false;
}

void ListBox::RemoveItem(int index)
{
    if (index < 0 || index >= count())
        vx::raise(err::InvalidCall);
    settingIndex_ = true;
    delete takeItem(index);
    settingIndex_ = false;
}

void ListBox::Clear()
{
    settingIndex_ = true;
    clear();
    settingIndex_ = false;
}

QString ListBox::List(int index) const
{
    const QListWidgetItem *it = item(index);
    return it ? it->text() : QString();
}

void ListBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        vx::raise(err::InvalidProperty);
    if (index == currentRow())
        return;
    settingIndex_ = true;
    setCurrentRow(index);
    if (index < 0)
        clearSelection();
    settingIndex_ = false;
    if (Click)
        Click();
}

QString ListBox::Text() const
{
    return List(currentRow());
}

void ListBox::setHorizontalExtent(int pixels)
{
    extent_ = std::max(0, pixels);
    updateExtent();
}

// Whether the sideways bar shows is fixed by the extent and the list's own
// width (updateExtent), never by the range set here: with Qt's as-needed bar
// the range showed the bar, the narrower view made Qt take the range back,
// the bar hid, and round again for good on a real display.
void ListBox::updateGeometries()
{
    QListWidget::updateGeometries();
    if (extent_ <= 0)
        return;
    const int overflow = extent_ - viewport()->width();
    if (overflow > horizontalScrollBar()->maximum())
        horizontalScrollBar()->setRange(0, overflow);
}

// Qt makes the first item current when the list takes the focus: that would
// be a click nobody made, and a selection the list does not show.
void ListBox::focusInEvent(QFocusEvent *e)
{
    const int before = currentRow();
    settingIndex_ = true;
    Control::focusInEvent(e);
    if (currentRow() != before) {
        setCurrentRow(before);
        if (before < 0)
            clearSelection();
    }
    settingIndex_ = false;
}

void ListBox::updateExtent()
{
    // Without an extent the list never scrolls sideways; with one wider than
    // the list the bar stays, as the classic list showed it.
    const int room = contentsRect().width();
    setHorizontalScrollBarPolicy(extent_ > 0 && extent_ > room - verticalScrollBar()->sizeHint().width()
                                     ? Qt::ScrollBarAlwaysOn
                                     : Qt::ScrollBarAlwaysOff);
    updateGeometries();
}

void ListBox::resizeEvent(QResizeEvent *e)
{
    Control::resizeEvent(e);
    if (extent_ > 0)
        updateExtent();
}

} // namespace vx
