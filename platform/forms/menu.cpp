#include "menu.h"

#include "form.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vx {

Menu::Menu(Form *form, const QString &name, const QString &caption, bool visible)
    : QObject(form), form_(form)
{
    setObjectName(name);
    action_ = new QAction(caption, this);
    action_->setObjectName(name);
    action_->setVisible(visible);
    connect(action_, &QAction::triggered, this, [this] { triggered(); });
    form->registerMenu(this);
}

Menu::Menu(Menu *parent, const QString &name, const QString &caption)
    : QObject(parent), form_(parent->form_), parent_(parent)
{
    setObjectName(name);
    action_ = new QAction(caption, this);
    action_->setObjectName(name);
    if (caption == QLatin1String("-")) {
        // A separator with text is drawn by some styles with the text beside it.
        action_->setText(QString());
        action_->setSeparator(true);
    }
    else
        connect(action_, &QAction::triggered, this, [this] { triggered(); });
    parent->addChild(this);
}

Menu::~Menu()
{
    if (!parent_ && form_)
        form_->unregisterMenu(this);
}

void Menu::addChild(Menu *child)
{
    children_.push_back(child);
    if (menu_)
        menu_->addAction(child->action_);
    else if (parent_ ? parent_->menu_ != nullptr : form_ && form_->menuBar() != nullptr)
        subMenu();
}

void Menu::barBuilt()
{
    if (!children_.empty())
        subMenu();
}

QMenu *Menu::subMenu()
{
    if (!menu_) {
        menu_ = new QMenu(action_->text());
        menu_->setObjectName(objectName());
        connect(this, &QObject::destroyed, menu_, &QObject::deleteLater);
        for (Menu *c : children_)
            menu_->addAction(c->action_);
        action_->setMenu(menu_);
        for (Menu *c : children_)
            c->barBuilt();
    }
    return menu_;
}

QString Menu::Caption() const { return action_->isSeparator() ? QStringLiteral("-") : action_->text(); }
void Menu::setCaption(const QString &c)
{
    action_->setText(c);
    if (menu_)
        menu_->setTitle(c);
}
bool Menu::Enabled() const { return action_->isEnabled(); }
void Menu::setEnabled(bool on) { action_->setEnabled(on); }
bool Menu::Visible() const { return action_->isVisible(); }
void Menu::setVisible(bool on)
{
    action_->setVisible(on);
    if (!parent_ && form_)
        form_->menuVisibilityChanged();
}
bool Menu::Checked() const { return checked_; }
void Menu::setChecked(bool on)
{
    checked_ = on;
    action_->setCheckable(true);
    action_->setChecked(on);
}

void Menu::triggered()
{
    // The check mark is the program's to set: undo Qt's own toggle.
    if (action_->isCheckable())
        action_->setChecked(checked_);
    if (children_.empty())
        dispatch([this] { click(); });
}

void Menu::click()
{
    if (Click)
        Click();
}

} // namespace vx
