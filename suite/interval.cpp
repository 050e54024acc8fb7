#include "interval.h"

#include "settings.h"

#include "platform/forms/scrollbar.h"
#include "platform/forms/textbox.h"

namespace suite {

void setUpInterval(vx::TextBox &text, vx::ScrollBar &bar, int def)
{
    text.setText(QString::number(def));
    bar.setMin(kIntervalMin);
    bar.setMax(kIntervalMax);
    bar.setSmallChange(1000);
    bar.setLargeChange(1000);
    bar.setValue(def);
}

int storedInterval(QLatin1StringView section, QLatin1StringView key, int def)
{
    const int interval = GetInteger(section, key, QString::number(def));
    return interval >= kIntervalMin && interval <= kIntervalMax ? interval : def;
}

void followIntervalText(const vx::TextBox &text, vx::ScrollBar &bar)
{
    bool ok = false;
    const int value = text.Text().trimmed().toInt(&ok);
    if (ok && value >= bar.Min() && value <= bar.Max())
        bar.setValue(value);
}

} // namespace suite
