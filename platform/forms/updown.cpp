#include "updown.h"

#include "controls.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vx {

UpDown::UpDown(Form *form, const QString &name, TextBox &buddy)
    : Control(form, name, buddy.parentWidget()), buddy_(&buddy), up_(new QToolButton(this)),
      down_(new QToolButton(this))
{
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("上下"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setAccessibleName(QStringLiteral("増やす"));
    down_->setAccessibleName(QStringLiteral("減らす"));
    for (QToolButton *b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { dispatch([this] { step(1); }); });
    connect(down_, &QToolButton::clicked, this, [this] { dispatch([this] { step(-1); }); });
}

QString UpDown::buddyText(int pos)
{
    QString digits = QString::number(std::abs(qint64(pos)));
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return pos < 0 ? QLatin1Char('-') + digits : digits;
}

void UpDown::setRange(int lower, int upper)
{
    lower_ = lower;
    upper_ = upper;
}

void UpDown::setValue(int pos)
{
    pos_ = std::clamp(pos, std::min(lower_, upper_), std::max(lower_, upper_));
    if (buddy_)
        buddy_->setText(buddyText(pos_));
}

void UpDown::step(int delta)
{
    int from = pos_;
    if (buddy_) {
        QString text = buddy_->Text();
        text.remove(QLatin1Char(','));
        bool ok = false;
        const int n = text.trimmed().toInt(&ok);
        if (ok)
            from = n;
    }
    // A range given upside down turns the arrows round.
    if (lower_ > upper_)
        delta = -delta;
    setValue(from + delta);
}

void UpDown::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Up)
        dispatch([this] { step(1); });
    else if (e->key() == Qt::Key_Down)
        dispatch([this] { step(-1); });
    else
        Control::keyPressEvent(e);
}

UpDown *CreateUpDownControl(Form &parent, int id, TextBox &buddy, int upper, int lower, int pos)
{
    auto *control = new UpDown(&parent, QStringLiteral("UpDown%1").arg(id), buddy);
    const int w = toPixels(kUpDownWidthTwips);
    const int narrowed = std::max(0, buddy.width() - w);
    control->setGeometry(buddy.x() + narrowed, buddy.y(), w, buddy.height());
    buddy.resize(narrowed, buddy.height());
    control->setRange(lower, upper);
    control->setValue(pos);
    control->show();
    return control;
}

void DestroyWindow(QPointer<UpDown> &control)
{
    delete control.data();
    control = nullptr;
}

} // namespace vx
