#include "form27.h"

#include "form4.h"
#include "palette.h"
#include "suite/settings.h"

#include <QApplication>
#include <QClipboard>

std::function<QDateTime()> Form27::clock = [] { return QDateTime::currentDateTime(); };

namespace {
void copyText(const QString &text)
{
    QClipboard *c = QApplication::clipboard();
    c->clear();
    c->setText(text);
}

void insert(const QString &text) { vx::instance<Form4>().RichTextBox1.setSelText(text); }
} // namespace

Form27::Form27() : vx::Form(QStringLiteral("Form27"))
{
    setCaption(QStringLiteral("Scrivolt Controler"));
    setClientSize(4200, 4560);
    Combo1.Move(120, 120, 3960, 315);
    for (const palette::TagKind &k : palette::tagKinds())
        Combo1.AddItem(k.name);
    Combo1.setText(QStringLiteral("HTMLタグヘルパー"));
    Command1.Move(120, 480, 1260, 375);
    Command3.Move(1470, 480, 1260, 375);
    Command8.Move(2820, 480, 1260, 375);
    Command1.setToolTipText(QStringLiteral("選択したHTMLタグをScrivoltに挿入"));
    Command3.setToolTipText(QStringLiteral("選択したHTMLタグをクリップボードにコピー"));
    Command8.setToolTipText(QStringLiteral("選択したHTMLタグの説明を表示します"));
    Text1.Move(120, 900, 3960, 1500);
    Text1.setText(QStringLiteral("説明ボタンを押すとここに説明が表示されます"));
    Text1.setAccessibleName(QStringLiteral("説明"));
    Combo2.Move(120, 2520, 3960, 315);
    for (const QString &e : palette::emoticons())
        Combo2.AddItem(e);
    Combo2.setText(QStringLiteral("顔文字ヘルパー"));
    Command5.Move(120, 2880, 1935, 375);
    Command4.Move(2145, 2880, 1935, 375);
    Command5.setToolTipText(QStringLiteral("選択した顔文字をScrivoltに挿入"));
    Command4.setToolTipText(QStringLiteral("選択した顔文字をクリップボードにコピー"));
    Command2.Move(120, 3420, 3960, 375);
    Command2.setToolTipText(QStringLiteral("最終更新日をScrivoltに挿入"));
    Command7.Move(120, 3960, 3960, 375);

    Command1.Click = [this] { Command1_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command8.Click = [this] { Command8_Click(); };
    Combo1.Change = [this] { Combo1_Change(); };
    Command5.Click = [this] { Command5_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command7.Click = [this] { Command7_Click(); };
}

void Form27::Form_Load()
{
    setTopmost(true);
    suite::applyPointer(*this);
}

void Form27::Command1_Click()
{
    if (const auto k = palette::tagKind(Combo1.Text()))
        insert(k->tmpl);
}

void Form27::Command3_Click()
{
    if (const auto k = palette::tagKind(Combo1.Text()))
        copyText(k->tmpl);
}

void Form27::Command8_Click()
{
    Text1.setText(QString());
    if (const auto k = palette::tagKind(Combo1.Text()))
        Text1.setText(k->explanation);
}

void Form27::Combo1_Change() { Text1.setText(QString()); }

void Form27::Command5_Click() { insert(Combo2.Text()); }

void Form27::Command4_Click() { copyText(Combo2.Text()); }

void Form27::Command2_Click() { insert(palette::stamp(clock())); }

void Form27::Command7_Click() { Hide(); }
