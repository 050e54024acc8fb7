#pragma once
#include "control.h"

#include <QListWidget>

#include <functional>

namespace vx {

// Makes a selection made without moving the current row (as assistive tools
// select) move it too, so that the list's click follows. Assistive tools
// select the entry already selected by clearing the selection and selecting
// it again: `reselected` runs then.
void followSelection(QListWidget *list, std::function<void()> reselected = {});

// Runs the list's own handling of a mouse press or key press (`handle`, with
// `inInput` set meanwhile) and tells whether it was a click on an entry that
// stays selected (the row did not change): the classic list raises Click for
// every click on an entry, selected or not. Space or Enter on the selected
// entry is such a click; Space is then taken, Enter still reaches the
// window's default button.
bool pressKeepsEntry(QListWidget *list, QMouseEvent *e, bool &inInput, const std::function<void()> &handle);
bool keyClicksEntry(QListWidget *list, QKeyEvent *e, bool &inInput, const std::function<void()> &handle);

// A list of text items. Every click on an item (mouse, Space or Enter on it,
// an assistive tool selecting it), and every selection from code, runs Click
// once, also for the item already selected; a double click runs DblClick.
class ListBox : public Control<QListWidget> {
    Q_OBJECT
public:
    ListBox(Form *form, const QString &name, QWidget *container = nullptr);
    void AddItem(const QString &item);
    // Raises 5 for an index outside the list.
    void RemoveItem(int index);
    void Clear();
    // "" outside the list, as the classic list answers.
    QString List(int index) const;
    int ListCount() const { return count(); }
    int ListIndex() const { return currentRow(); }
    // Selects an item (-1: none) and runs Click when it changed; an index
    // outside the list raises 380.
    void setListIndex(int index);
    // The selected item's text ("" when none).
    QString Text() const;
    // How far the list scrolls sideways, in pixels (0: never).
    void setHorizontalExtent(int pixels);
    int HorizontalExtent() const { return extent_; }
    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    void updateGeometries() override;
    void focusInEvent(QFocusEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void updateExtent();
    bool settingIndex_ = false;
    bool inInput_ = false; // a press is being handled: it raises its own click
    int extent_ = 0;
};

} // namespace vx
