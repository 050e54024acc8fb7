#pragma once
#include "form.h"

#include <QObject>

#include <functional>

class QTimer;

namespace vx {

class Timer : public QObject {
    Q_OBJECT
public:
    Timer(Form *form, const QString &name, int interval = 0, bool enabled = false);
    int Interval() const { return interval_; }
    void setInterval(int ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    // True while ticks are due (enabled with an interval above 0).
    bool running() const;
    std::function<void()> Tick; // the timer event

private:
    void update();
    QTimer *timer_;
    int interval_;
    bool enabled_;
};

} // namespace vx
