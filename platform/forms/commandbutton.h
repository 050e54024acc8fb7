#pragma once
#include "control.h"

#include <QPushButton>
#include <QPixmap>

#include <functional>

namespace vx {

class CommandButton : public Control<QPushButton> {
    Q_OBJECT
public:
    CommandButton(Form *form, const QString &name, const QString &caption = QString(),
                  QWidget *container = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &c) { setText(c); }
    // A picture shown on the button (graphical style).
    void setPicture(const QPixmap &pm);
    std::function<void()> Click;
};

} // namespace vx
