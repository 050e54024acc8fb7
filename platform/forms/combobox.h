#pragma once
#include "control.h"

#include <QComboBox>

#include <functional>

namespace vx {

class ComboBox : public Control<QComboBox> {
    Q_OBJECT
public:
    // style 0: drop-down combo (editable); 2: drop-down list.
    ComboBox(Form *form, const QString &name, int style = 2, QWidget *container = nullptr);
    int Style() const { return style_; }
    void AddItem(const QString &item);
    void RemoveItem(int index);
    void Clear();
    QString List(int index) const;
    int ListCount() const { return count(); }
    int ListIndex() const { return currentIndex(); }
    // Selects an item (-1: none) and runs Click.
    void setListIndex(int index);
    QString Text() const { return currentText(); }
    // Drop-down list: selects the matching item (Click runs) or raises error 383
    // when no item matches. Editable: sets the text (Change runs).
    void setText(const QString &t);
    std::function<void()> Click;
    std::function<void()> Change;

private:
    // Marks our own changes of the list and text while they run.
    struct Guard {
        explicit Guard(ComboBox &c) : box(c) { box.settingText_ = true; }
        ~Guard()
        {
            box.settingText_ = false;
            box.shownIndex_ = box.currentIndex();
        }
        ComboBox &box;
    };
    int style_;
    bool settingText_ = false;
    int shownIndex_ = -1;
};

} // namespace vx
