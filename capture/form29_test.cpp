#include "capture/form11.h"
#include "capture/form29.h"
#include "suite/settings.h"
#include "testing/harness.h"

namespace {

class Form29Test : public vxtest::GuiTest {};

TEST_F(Form29Test, SizesOfThePictureAreaAndOnlyPositiveNumbersApplied)
{
    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("Pointer"), QStringLiteral("0"));
    Form11 &f = vx::instance<Form11>();
    f.Command9.click();
    f.Image1.setHeight(1500);
    f.Image1.setWidth(3000);
    vxtest::dialogs().modalScripts.push_back([](vx::Form &form) {
        auto &d = static_cast<Form29 &>(form);
        EXPECT_EQ(d.Caption(), QStringLiteral("サイズ変更"));
        EXPECT_EQ(d.MousePointer(), 0);
        EXPECT_EQ(d.Text1.Text(), QStringLiteral("1500"));
        EXPECT_EQ(d.Text2.Text(), QStringLiteral("3000"));
        d.Text1.setText(QStringLiteral("-20"));
        d.Text2.setText(QStringLiteral("4500"));
        d.Command2.click();
        d.Text1.setText(QStringLiteral("abc"));
        d.Command2.click();
        d.Text1.setText(QStringLiteral("2250.5"));
        d.Command2.click();
        d.Command1.click();
    });
    f.Command12.click();
    EXPECT_EQ(vxtest::dialogs().modals, QStringList{QStringLiteral("Form29")});
    EXPECT_FALSE(vx::isLoaded<Form29>());
    EXPECT_FLOAT_EQ(f.Image1.Height(), 2250.5f);
    EXPECT_FLOAT_EQ(f.Image1.Width(), 4500);
    EXPECT_FALSE(f.Image1.Stretch()); // the dialog leaves stretching alone
}

} // namespace
