#pragma once
// Menus: a top-level entry sits on the window's menu bar (a drop-down when it
// has entries, a command otherwise); an invisible top-level entry serves only
// as a pop-up menu.
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace vx {

class Form;

class Menu : public QObject {
    Q_OBJECT
public:
    // Top-level entry of `form`'s menu bar.
    Menu(Form *form, const QString &name, const QString &caption, bool visible = true);
    // Entry of a drop-down; caption "-" is a separator.
    Menu(Menu *parent, const QString &name, const QString &caption);
    ~Menu() override;

    QString Caption() const;
    void setCaption(const QString &c);
    bool Enabled() const;
    void setEnabled(bool on);
    bool Visible() const;
    void setVisible(bool on);
    bool Checked() const;
    void setChecked(bool on);

    // Runs the click handler (as the user's choice would).
    void click();
    std::function<void()> Click;

    QAction *action() const { return action_; }
    // The drop-down holding this entry's children. Built when it is first
    // needed: a drop-down on a built menu bar, or a pop-up being shown.
    QMenu *subMenu();
    Form *form() const { return form_; }

    // The window built its menu bar (the window calls it).
    void barBuilt();
    // The window is going (the window calls it).
    void formGone() { form_ = nullptr; }

private:
    void addChild(Menu *child);
    void triggered();
    Form *form_ = nullptr;
    Menu *parent_ = nullptr;
    bool checked_ = false;
    QAction *action_ = nullptr;
    QMenu *menu_ = nullptr;
    std::vector<Menu *> children_;
};

} // namespace vx
