#include "form27.h"
#include "platform/forms/events.h"

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
    for (const palette::TagKind &k : palette::tagKinds())
        Combo1.AddItem(k.name);
    Combo1.setText(QStringLiteral("HTMLタグヘルパー"));
    Command1.setToolTipText(QStringLiteral("選択したHTMLタグをScrivoltに挿入"));
    Command3.setToolTipText(QStringLiteral("選択したHTMLタグをクリップボードにコピー"));
    Command8.setToolTipText(QStringLiteral("選択したHTMLタグの説明を表示します"));
    Text1.setText(QStringLiteral("説明ボタンを押すとここに説明が表示されます"));
    Text1.setAccessibleName(QStringLiteral("説明"));
    for (const QString &e : palette::emoticons())
        Combo2.AddItem(e);
    Combo2.setText(QStringLiteral("顔文字ヘルパー"));
    Command5.setToolTipText(QStringLiteral("選択した顔文字をScrivoltに挿入"));
    Command4.setToolTipText(QStringLiteral("選択した顔文字をクリップボードにコピー"));
    Command2.setToolTipText(QStringLiteral("最終更新日をScrivoltに挿入"));

    vx::bindEvents(*this);
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
