#pragma once
// The repair wizard's five pages. Every page shares one frame: the picture
// strip on the left, the separator above the button row, the caption and the
// place read from section "Velmora Helper".
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/line.h"
#include "platform/forms/progressbar.h"

namespace repair {

class Page : public vx::Form {
    Q_OBJECT
public:
    explicit Page(const QString &name);

    vx::PictureBox Picture1{this, QStringLiteral("Picture1")};
    vx::Line Line1{this, QStringLiteral("Line1")};
    vx::Line Line2{this, QStringLiteral("Line2")};

    // The close box asks like "キャンセル" instead of leaving an invisible
    // program behind with the other pages hidden.
    void Form_QueryUnload(int &cancel, int unloadMode) override;

protected:
    // What the close box does: the cancel question by default.
    virtual void closeBox() { askCancel(); }
    // Left and top from "FormLeft"/"FormTop".
    void placeFromSettings();
    // "中断しますか？": Yes ends the program.
    static void askCancel();
    // Page furniture in the text column and the button row.
    void placeTitle(vx::Label &title);
    void placeText(QWidget &w, double top, double height);
    enum class Slot { Back, Next, Cancel };
    void placeButton(vx::CommandButton &b, Slot slot);
};

class Form01 : public Page {
    Q_OBJECT
public:
    Form01();
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("Velmora 2002 Helper Wizardへようこそ！")};
    vx::Label Label2{this, QStringLiteral("Label2"),
                     QStringLiteral("Velmora 2002 Helper Wizardは、Velmora 2002で起動しなくなった機能を簡単に修復できるように補助いたします。［次へ］をクリックして続行してください。")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("キャンセル")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("次へ >")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("< 戻る")};

    void Form_Load() override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Command2_Click();
};

class Form02 : public Page {
    Q_OBJECT
public:
    Form02();
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("どの機能が機能しなくなったですか？")};
    vx::Label Label2{this, QStringLiteral("Label2"),
                     QStringLiteral("どれかひとつを選択し、［次へ］をクリックして続行してください。")};
    vx::OptionButton Option9{this, QStringLiteral("Option9")};
    vx::OptionButton Option4{this, QStringLiteral("Option4")};
    vx::OptionButton Option5{this, QStringLiteral("Option5")};
    vx::OptionButton Option1{this, QStringLiteral("Option1")};
    vx::OptionButton Option2{this, QStringLiteral("Option2")};
    vx::OptionButton Option3{this, QStringLiteral("Option3")};
    vx::OptionButton Option6{this, QStringLiteral("Option6")};
    vx::OptionButton Option7{this, QStringLiteral("Option7")};
    vx::OptionButton Option8{this, QStringLiteral("Option8")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("キャンセル")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("次へ >")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("< 戻る")};

    void Form_Load() override;
    Q_SLOT void Option1_Click();
    Q_SLOT void Option2_Click();
    Q_SLOT void Option3_Click();
    Q_SLOT void Option4_Click();
    Q_SLOT void Option5_Click();
    Q_SLOT void Option6_Click();
    Q_SLOT void Option7_Click();
    Q_SLOT void Option8_Click();
    Q_SLOT void Option9_Click();
    Q_SLOT void Command1_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();

private:
    // Top to bottom; the value stored for each is its place, 1 to 9, and its
    // caption is what page 3 shows for that value.
    vx::OptionButton *const options_[9] = {&Option9, &Option4, &Option5, &Option1, &Option2,
                                           &Option3, &Option6, &Option7, &Option8};
};

class Form03 : public Page {
    Q_OBJECT
public:
    Form03();
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("では、この機能を修復します。")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::Label Label4{this, QStringLiteral("Label4"), QStringLiteral("※修復を実行すると各機能の設定が初期化されます！")};
    vx::Label Label5{this, QStringLiteral("Label5"),
                     QStringLiteral("※わかりません。又は上記以外の機能を選択した場合はすべての機能の設定が初期化されます！")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("よろしければ、［修復］をクリックして続行してください。")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("キャンセル")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("修復 >")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("< 戻る")};

    void Form_Load() override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();
};

class Form04 : public Page {
    Q_OBJECT
public:
    Form04();
    vx::Label Label3{this, QStringLiteral("Label3")};
    vx::ProgressBar ProgressBar1{this, QStringLiteral("ProgressBar1")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 1, false};

    void Form_Load() override;
    Q_SLOT void Timer1_Timer();

protected:
    // The repair runs to its end by itself.
    void closeBox() override {}

private:
    // The store refused the deletion: no progress, no completion page.
    void reportFailure(const QString &failure);
};

class Form05 : public Page {
    Q_OBJECT
public:
    Form05();
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("完了！")};
    vx::Label Label2{this, QStringLiteral("Label2"),
                     QStringLiteral("お疲れ様でした。無事修復は完了しました。［完了］をクリックして終わってください。")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("完了")};

    void Form_Load() override;
    Q_SLOT void Command2_Click();

protected:
    // The repair is done: closing is finishing.
    void closeBox() override { Command2_Click(); }
};

} // namespace repair
