#include "commandbutton.h"

namespace vx {

CommandButton::CommandButton(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    setColorRoles({QPalette::Button}, {QPalette::ButtonText});
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        fire(Click);
    });
}

void CommandButton::setPicture(const QPixmap &pm)
{
    setIcon(QIcon(pm));
    setIconSize(pm.size());
}

} // namespace vx
