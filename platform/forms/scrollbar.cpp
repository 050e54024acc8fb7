#include "scrollbar.h"

#include "platform/core/errors.h"

namespace vx {

ScrollBar::ScrollBar(Form *form, const QString &name, Qt::Orientation o, QWidget *container)
    : Control(form, name, container)
{
    setOrientation(o);
    setRange(0, 32767);
    setSingleStep(1);
    setPageStep(1);
    // Dragging the thumb reports Scroll; the value settles (Change) on release.
    connect(this, &QScrollBar::valueChanged, this, [this] {
        if (settingValue_)
            return;
        if (isSliderDown()) {
            dragMoved_ = true;
            fire(Scroll);
            return;
        }
        fire(Change);
    });
    connect(this, &QScrollBar::sliderReleased, this, [this] {
        if (!dragMoved_)
            return;
        dragMoved_ = false;
        fire(Change);
    });
}

void ScrollBar::setValue(int v)
{
    if (v < minimum() || v > maximum())
        vx::raise(err::InvalidProperty);
    if (v == value())
        return;
    settingValue_ = true;
    QScrollBar::setValue(v);
    settingValue_ = false;
    if (Change)
        Change();
}

} // namespace vx
