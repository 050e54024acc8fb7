#include "label.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vx {

namespace {

const QString kDoubleClickAction = QStringLiteral("doubleClick");

// A label's click and double click as actions of assistive tools.
class LabelAccessible : public QAccessibleWidget {
public:
    explicit LabelAccessible(Label *label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    Label *label() const { return static_cast<Label *>(widget()); }
    // The shown text, whatever name was set: a fixed name would hide a
    // changing value.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && (!label()->text().isEmpty() || label()->accessibleName().isEmpty()))
            return label()->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (label()->Click)
            names << pressAction();
        if (label()->DblClick)
            names << kDoubleClickAction;
        return names;
    }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            label()->press();
        else if (action == kDoubleClickAction)
            label()->doublePress();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *labelAccessible(const QString &, QObject *object)
{
    if (auto *label = qobject_cast<Label *>(object))
        return new LabelAccessible(label);
    return nullptr;
}

// Before any label exists: an active accessibility layer asks for a widget's
// interface as soon as the widget is made.
const bool factoryInstalled = (QAccessible::installFactory(labelAccessible), true);

} // namespace

Label::Label(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    foreColor_ = syscolor::ButtonText;
}

void Label::press()
{
    fire(Click);
}

void Label::doublePress()
{
    fire(DblClick ? DblClick : Click);
}

void Label::showEvent(QShowEvent *e)
{
    QLabel::showEvent(e);
    // Handlers are set by the window's load, before it shows.
    setFocusPolicy(Click || DblClick ? Qt::TabFocus : Qt::NoFocus);
}

void Label::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat() && Click) {
        press();
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat() && (DblClick || Click)) {
        doublePress();
        return;
    }
    QLabel::keyPressEvent(e);
}

void Label::setBackStyle(int style)
{
    setAutoFillBackground(style != 0);
}

void Label::mousePressEvent(QMouseEvent *e)
{
    QLabel::mousePressEvent(e);
    pressed_ = true;
}

void Label::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    // The release that ends a double click is no second click.
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        fire(Click);
}

void Label::mouseDoubleClickEvent(QMouseEvent *e)
{
    (void)e;
    pressed_ = false;
    fire(DblClick);
}

} // namespace vx
