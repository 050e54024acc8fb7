#pragma once
// The progress bar with the looks and colours of the common control: style 0
// draws the bar as separate blocks, style 1 as one smooth bar; the bar and its
// background take classic colour values (as the control's colour messages set
// them).
#include "progressbar.h"

namespace vx {

class StyledProgressBar : public ProgressBar {
    Q_OBJECT
public:
    StyledProgressBar(Form *form, const QString &name, QWidget *container = nullptr);
    // 0 blocks, 1 smooth; other values draw smooth.
    int Scrolling() const { return scrolling_; }
    void setScrolling(int style);
    qint32 BarColor() const { return barColor_; }
    void setBarColor(qint32 colour);
    qint32 BarBackColor() const { return barBackColor_; }
    void setBarBackColor(qint32 colour);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    int scrolling_ = 0;
    qint32 barColor_ = static_cast<qint32>(0x8000000Du); // the selection colour
    qint32 barBackColor_ = syscolor::ButtonFace;
};

} // namespace vx
