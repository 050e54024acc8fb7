#include "combobox.h"

#include "platform/core/errors.h"

#include <QLineEdit>

namespace vx {

ComboBox::ComboBox(Form *form, const QString &name, int style, QWidget *container)
    : Control(form, name, container), style_(style)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    setColorRoles({QPalette::Base, QPalette::Button}, {QPalette::Text, QPalette::ButtonText});
    setEditable(style == 0);
    connect(this, &QComboBox::activated, this, [this](int) {
        fire(Click);
    });
    if (style == 0) {
        // Typed text is the box's own: Enter does not add it to the list.
        setInsertPolicy(QComboBox::NoInsert);
        // Typing changes the text, and so does an assistive tool setting it;
        // choosing an item (the index moves first) is a click, and our own
        // changes run Change themselves.
        shownIndex_ = currentIndex();
        connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString &) {
            if (settingText_)
                return;
            if (currentIndex() != shownIndex_) {
                shownIndex_ = currentIndex();
                return;
            }
            fire(Change);
        });
        connect(this, &QComboBox::currentIndexChanged, this, [this](int i) { shownIndex_ = i; });
    }
}

void ComboBox::AddItem(const QString &item)
{
    const QSignalBlocker block(this);
    const Guard guard(*this);
    const QString keep = currentText();
    const int keepIndex = currentIndex();
    addItem(item);
    // A list keeps showing nothing until an item is chosen.
    setCurrentIndex(keepIndex);
    if (style_ == 0)
        setEditText(keep);
}

void ComboBox::RemoveItem(int index)
{
    if (index < 0 || index >= count())
        vx::raise(err::InvalidCall);
    const QSignalBlocker block(this);
    const Guard guard(*this);
    removeItem(index);
}

void ComboBox::Clear()
{
    const QSignalBlocker block(this);
    const Guard guard(*this);
    clear();
}

QString ComboBox::List(int index) const
{
    return (index >= 0 && index < count()) ? itemText(index) : QString();
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        vx::raise(err::InvalidProperty);
    {
        const QSignalBlocker block(this);
        const Guard guard(*this);
        setCurrentIndex(index);
    }
    if (Click)
        Click();
}

void ComboBox::setText(const QString &t)
{
    if (style_ == 2) {
        const int i = findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i < 0)
            vx::raise(383, QStringLiteral("'Text' プロパティは読み取り専用です。"));
        setListIndex(i);
        return;
    }
    if (t == currentText())
        return;
    {
        const QSignalBlocker block(this);
        const Guard guard(*this);
        setEditText(t);
    }
    if (Change)
        Change();
}

} // namespace vx
