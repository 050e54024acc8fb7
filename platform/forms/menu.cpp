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
    form->menuBar()->addAction(action_);
    form->registerMenu(this);
}

Menu::Menu(Menu *parent, const QString &name, const QString &caption)
    : QObject(parent), form_(parent->form_), parent_(parent)
{
    setObjectName(name);
    QMenu *host = parent->subMenu();
    if (caption == QLatin1String("-")) {
        action_ = host->addSeparator();
        action_->setObjectName(name);
        return;
    }
    action_ = new QAction(caption, this);
    action_->setObjectName(name);
    host->addAction(action_);
    connect(action_, &QAction::triggered, this, [this] { triggered(); });
}

Menu::~Menu() = default;

QMenu *Menu::subMenu()
{
    if (!menu_) {
        menu_ = new QMenu(action_->text());
        menu_->setObjectName(objectName());
        connect(this, &QObject::destroyed, menu_, &QObject::deleteLater);
        action_->setMenu(menu_);
    }
    return menu_;
}

QString Menu::Caption() const { return action_->text(); }
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
    if (!parent_)
        form_->registerMenu(this);
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
    if (!menu_)
        dispatch([this] { click(); });
}

void Menu::click()
{
    if (Click)
        Click();
}

} // namespace vx
