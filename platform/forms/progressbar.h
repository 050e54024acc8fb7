#pragma once
// The progress bar control: a bar between Min and Max showing Value, without
// text, as the classic common control draws it.
#include "control.h"

#include <QProgressBar>

namespace vx {

class ProgressBar : public Control<QProgressBar> {
    Q_OBJECT
public:
    ProgressBar(Form *form, const QString &name, QWidget *container = nullptr);
    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Value() const { return value(); }
    // Min must stay below Max, and Value within them; otherwise error 380.
    void setMin(int v);
    void setMax(int v);
    void setValue(int v);
};

} // namespace vx
