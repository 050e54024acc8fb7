#include "frame.h"

namespace vx {

Frame::Frame(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setTitle(caption);
}

} // namespace vx
