#include "listbox.h"

#include "platform/core/errors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <memory>
#include <utility>

namespace vx {

void followSelection(QListWidget *list, std::function<void()> reselected)
{
    auto clearedRow = std::make_shared<int>(-1);
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list, clearedRow, reselected] {
        const QList<QListWidgetItem *> selected = list->selectedItems();
        const int cleared = std::exchange(*clearedRow, -1);
        if (selected.isEmpty()) {
            *clearedRow = list->currentRow();
            return;
        }
        if (selected.size() != 1)
            return;
        if (selected.first() != list->currentItem())
            list->setCurrentItem(selected.first());
        else if (cleared >= 0 && cleared == list->currentRow() && reselected)
            reselected();
    });
}

bool pressKeepsEntry(QListWidget *list, QMouseEvent *e, bool &inInput, const std::function<void()> &handle)
{
    const int rowBefore = list->currentRow();
    inInput = true;
    handle();
    inInput = false;
    if (e->button() != Qt::LeftButton || rowBefore < 0 || list->currentRow() != rowBefore)
        return false;
    const QListWidgetItem *hit = list->itemAt(e->position().toPoint());
    return hit && list->row(hit) == rowBefore && hit->isSelected();
}

bool keyClicksEntry(QListWidget *list, QKeyEvent *e, bool &inInput, const std::function<void()> &handle)
{
    const int rowBefore = list->currentRow();
    inInput = true;
    handle();
    inInput = false;
    const int key = e->key();
    if (key != Qt::Key_Space && key != Qt::Key_Select && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (e->isAutoRepeat() || e->modifiers() & ~Qt::KeypadModifier)
        return false;
    if (rowBefore < 0 || list->currentRow() != rowBefore || !list->currentItem()
        || !list->currentItem()->isSelected())
        return false;
    if (key == Qt::Key_Space || key == Qt::Key_Select)
        e->accept();
    return true;
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
    followSelection(this, [this] {
        if (!settingIndex_ && !inInput_)
            fire(Click);
    });
}

void ListBox::mousePressEvent(QMouseEvent *e)
{
    if (pressKeepsEntry(this, e, inInput_, [&] { Control::mousePressEvent(e); }))
        fire(Click);
}

void ListBox::keyPressEvent(QKeyEvent *e)
{
    if (keyClicksEntry(this, e, inInput_, [&] { Control::keyPressEvent(e); }))
        fire(Click);
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
    const bool wasSelected = index == currentRow();
    settingIndex_ = true;
    delete takeItem(index);
    // As the classic list does: the removed entry's selection goes with it,
    // none is moved to its neighbour.
    if (wasSelected) {
        setCurrentItem(nullptr);
        clearSelection();
    }
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
