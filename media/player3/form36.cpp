#include "form36.h"

#include "form35.h"

const vx::ConsoleDesign Form36::kDesign{
    .controls = QStringLiteral("ControlPanel"), .console = QStringLiteral("two"), .background = QStringLiteral("#000000")};

namespace {
// The panel's margins inside the window's outer size.
constexpr double kHeightMargin = 400;
constexpr double kWidthMargin = 113;
} // namespace

Form36::Form36() : vx::Form(QStringLiteral("Form36"))
{
    setCaption(QStringLiteral("Multimedia Rondix Viewer Ⅲ Controler"));
    setClientSize(4800, 1560);
}

void Form36::Form_Resize()
{
    const double height = Height() - kHeightMargin;
    const double width = Width() - kWidthMargin;
    // Smaller than the margins: the panel keeps its last size.
    if (height < 0 || width < 0)
        return;
    RealAudio1.setHeight(height);
    RealAudio1.setWidth(width);
}

void Form36::Form_Unload(int &cancel)
{
    (void)cancel;
    player3::closeViewerPair();
}
