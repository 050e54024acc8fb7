#include "form29.h"
#include "platform/forms/events.h"

#include "capture/form11.h"
#include "suite/settings.h"

#include <cmath>

namespace {
constexpr int kPx = vx::kTwipsPerPixel;

// A size in twips, or nothing for a text that is not a positive number.
std::optional<float> sizeOf(const QString &text)
{
    bool ok = false;
    const float v = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(v) || v <= 0)
        return std::nullopt;
    return v;
}
} // namespace

Form29::Form29() : vx::Form(QStringLiteral("Form29"))
{
    setCaption(QStringLiteral("サイズ変更"));
    setClientSize(260 * kPx, 130 * kPx);
    Label1.setGeometry(10, 8, 240, 20);
    Label2.setGeometry(10, 38, 70, 20);
    Text1.setGeometry(84, 34, 160, 24);
    Label3.setGeometry(10, 68, 70, 20);
    Text2.setGeometry(84, 64, 160, 24);
    Command2.setGeometry(84, 96, 76, 26);
    Command1.setGeometry(168, 96, 76, 26);
    Label2.setBuddy(Text1.editor());
    Label3.setBuddy(Text2.editor());
    Text1.setAccessibleName(QStringLiteral("縦の長さ"));
    Text2.setAccessibleName(QStringLiteral("横の長さ"));
    vx::bindEvents(*this);
}

void Form29::Form_Load()
{
    suite::applyPointer(*this);
    const Form11 &f = vx::instance<Form11>();
    Text1.setText(QString::number(static_cast<double>(f.Image1.Height()), 'g', 7));
    Text2.setText(QString::number(static_cast<double>(f.Image1.Width()), 'g', 7));
}

void Form29::Command2_Click()
{
    Form11 &f = vx::instance<Form11>();
    // A size that is not a positive number is left as it was.
    if (const auto h = sizeOf(Text1.Text()))
        f.Image1.setHeight(*h);
    if (const auto w = sizeOf(Text2.Text()))
        f.Image1.setWidth(*w);
}

void Form29::Command1_Click() { Unload(); }
