#pragma once
#include "control.h"

#include <QGroupBox>

#include <functional>

namespace vx {

class Frame : public Control<QGroupBox> {
    Q_OBJECT
public:
    Frame(Form *form, const QString &name, const QString &caption = QString(),
          QWidget *container = nullptr);
    QString Caption() const { return title(); }
    void setCaption(const QString &c) { setTitle(c); }
};

} // namespace vx
