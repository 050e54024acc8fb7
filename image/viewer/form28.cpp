#include "form28.h"
#include "platform/forms/events.h"

#include "suite/settings.h"
#include "form2.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"

#include <QFont>

namespace {

// A size the box can take, or nothing.
std::optional<float> sizeOf(const QString &text)
{
    const auto v = vx::toSingle(text);
    if (!v || *v <= 0 || *v > vx::ImageBox::kMaxTwips)
        return std::nullopt;
    return v;
}

} // namespace

Form28::Form28() : vx::Form(QStringLiteral("Form28"))
{
    setCaption(QStringLiteral("サイズ変更"));
    setClientSize(3135, 1800);
    QFont gothic(QStringLiteral("ＭＳ Ｐゴシック"));
    gothic.setPointSize(9);
    for (QWidget *w : std::initializer_list<QWidget *>{&Label2, &Text1, &Label3, &Text2})
        w->setFont(gothic);
    Label2.Move(240, 480, 975, 255);
    Text1.Move(1320, 405, 1695, 330);
    Label3.Move(240, 960, 1095, 255);
    Text2.Move(1320, 840, 1695, 360);

    vx::bindEvents(*this);
}

void Form28::Form_Load()
{
    suite::applyPointer(*this);
    const vx::ImageBox &image = vx::instance<Form2>().Image1;
    Text1.setText(vx::numText(image.Height()));
    Text2.setText(vx::numText(image.Width()));
}

// A text that is not a positive size leaves that side as it is.
void Form28::Command2_Click()
{
    vx::ImageBox &image = vx::instance<Form2>().Image1;
    try {
        if (const auto height = sizeOf(Text1.Text()))
            image.setHeight(*height);
        if (const auto width = sizeOf(Text2.Text()))
            image.setWidth(*width);
    } catch (const vx::RuntimeError &) {
    }
}

void Form28::Command1_Click()
{
    Unload();
}
