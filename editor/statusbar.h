#pragma once
// The editor's status bar: panels of text, and panels that show by themselves
// the lock keys, the insert mode, the date and the time.
#include "platform/forms/control.h"

#include <QFrame>
#include <QLabel>

#include <optional>
#include <vector>

class QTimer;

namespace editor {

enum class PanelStyle { Text, Caps, Num, Ins, Scroll, Time, Date, Kana };

// State of a lock key as the display reports it; nullopt when it cannot tell
// (no X display, as under the offscreen platform). Tests replace it.
using LockQuery = std::optional<bool> (*)(PanelStyle);
void setLockQuery(LockQuery query);
std::optional<bool> lockState(PanelStyle style);

class StatusBar : public vx::Control<QFrame> {
    Q_OBJECT
public:
    StatusBar(vx::Form *form, const QString &name);
    // Panels are 1-based as the control numbers them.
    void addPanel(PanelStyle style, int widthTwips, const QString &key = QString());
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    QString PanelText(int index) const;
    void setPanelText(int index, const QString &text);
    // True when an automatic panel shows its state as on.
    bool PanelEnabled(int index) const;
    QString PanelKey(int index) const;
    // Brings the automatic panels up to date (also every half second).
    void refresh();
    // Insert mode of the text the insert panel describes.
    std::function<bool()> insertMode;

private:
    struct Panel {
        PanelStyle style;
        QString key;
        QLabel *label;
        bool on = false;
    };
    std::vector<Panel> panels_;
    QTimer *timer_;
};

} // namespace editor
