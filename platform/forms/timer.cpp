#include "timer.h"

#include <QTimer>

namespace vx {

Timer::Timer(Form *form, const QString &name, int interval, bool enabled)
    : QObject(form->client()), timer_(new QTimer(this)), interval_(interval), enabled_(enabled)
{
    setObjectName(name);
    connect(timer_, &QTimer::timeout, this, [this] {
        fire(Tick);
    });
    update();
}

void Timer::setInterval(int ms)
{
    interval_ = std::max(0, ms);
    update();
}

void Timer::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    update();
}

bool Timer::running() const { return timer_->isActive(); }

void Timer::update()
{
    if (enabled_ && interval_ > 0)
        timer_->start(interval_);
    else
        timer_->stop();
}

} // namespace vx
