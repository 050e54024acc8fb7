#pragma once
#include "control.h"

#include <QScrollBar>

#include <functional>

namespace vx {

// Horizontal (or vertical) scroll bar: Min, Max, SmallChange, LargeChange,
// Value. Setting Value from code runs Change when it differs; a value outside
// Min..Max raises 380.
class ScrollBar : public Control<QScrollBar> {
    Q_OBJECT
public:
    ScrollBar(Form *form, const QString &name, Qt::Orientation o = Qt::Horizontal, QWidget *container = nullptr);
    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    void setMin(int v) { setMinimum(v); }
    void setMax(int v) { setMaximum(v); }
    int SmallChange() const { return singleStep(); }
    int LargeChange() const { return pageStep(); }
    void setSmallChange(int v) { setSingleStep(v); }
    void setLargeChange(int v) { setPageStep(v); }
    int Value() const { return value(); }
    void setValue(int v);
    std::function<void()> Change;
    std::function<void()> Scroll;

private:
    bool settingValue_ = false;
    bool dragMoved_ = false;
};
using HScrollBar = ScrollBar;

} // namespace vx
