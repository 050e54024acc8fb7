#include "palette.h"

namespace palette {

namespace {
QString lines(std::initializer_list<const char16_t *> parts)
{
    QStringList l;
    for (const char16_t *p : parts)
        l << QString::fromUtf16(p);
    return l.join(QStringLiteral("\r\n"));
}
} // namespace

const QList<TagKind> &tagKinds()
{
    static const QList<TagKind> kinds = {
        {QStringLiteral("基本のタグ"),
         lines({u"<HTML>", u"", u"<HEAD>", u"<TITLE>ここにページのタイトルを書く</TITLE>", u"</HEAD>", u"", u"<BODY>",
                u"", u"この中にいろいろと追加していく", u"", u"</BODY>"}),
         QStringLiteral("土台となる部分です")},
        {QStringLiteral("テーブルのタグ"),
         lines({u"<TABLE BORDER=1>", u"<TR>", u"<TD>1段1列:ここに文章や画像をいれる</TD>",
                u"<TD>1段2列:ここに文章や画像をいれる</TD>", u"</TR>", u"<TR>",
                u"<TD>2段1列:ここに文章や画像をいれる</TD>", u"<TD>2段2列:ここに文章や画像をいれる</TD>", u"</TR>",
                u"</TABLE>"}),
         QStringLiteral("縦２×横２テーブルのタグです。")},
        {QStringLiteral("リンクのタグ"), QStringLiteral("<A HREF=ここにURLを書く>ここにリンク先の名前などを書く</A>"),
         lines({u"リンクを入れるときに使うタグです",
                u"メールアドレスへのリンクはURLの代わりにmailto:とアドレスを書きます(例 mailto:name@example.com)"})},
        {QStringLiteral("太字のタグ"), QStringLiteral("<H2>ここに太字にしたい文字を入れる</H2>"),
         QStringLiteral("文字を太字にするタグです")},
        {QStringLiteral("斜体のタグ"), QStringLiteral("<I>ここに斜体にしたい文字を入れる</I>"),
         QStringLiteral("文字を斜体にするタグです")},
        {QStringLiteral("フォントサイズのタグ"), QStringLiteral("<FONT SIZE=4>ここにサイズを指定したい文字を入れる</FONT>"),
         lines({u"フォントの大きさを指定するタグです", u"SIZE=は1(最小)～7(最大)まで設定できます"})},
        {QStringLiteral("フォント色のタグ"), QStringLiteral("<FONT COLOR=#FF0000>ここに色を指定したい文字を入れる</FONT>"),
         lines({u"フォントの色を指定するタグです", u"COLOR=#XXXXXXを変更することで色が変えられます",
                u"#FF0000=赤 #0000FF=青 #FF00FF=紫 #FFFF00=黄 #8B5A0=茶 #FFFFFF=白",
                u"応用としてサイズを指定しつつ、色を指定するときは", u"<FONT SIZE=4 COLOR=#FF0000>ここに文字を入れる</FONT>",
                u"と表記する"})},
        {QStringLiteral("改行のタグ"), QStringLiteral("<BR>"), QStringLiteral("改行を行うタグです")},
        {QStringLiteral("文字を１段階大きくするタグ"), QStringLiteral("<BIG>ここに１段階大きくしたい文字を入れる</BIG>"),
         QStringLiteral("文字を１段階大きくするタグです")},
        {QStringLiteral("文字を１段階小さくするタグ"), QStringLiteral("<SMALL>ここに１段階小さくさせたい文字を入れる</SMALL>"),
         QStringLiteral("文字を１段階小さくするタグです")},
        {QStringLiteral("画像を貼り付けるタグ"), QStringLiteral("<IMG SRC=ここに画像へのURLをいれる>"),
         QStringLiteral("リンク先の画像を表示させるタグです")},
        {QStringLiteral("文字をスクロールさせるタグ"), QStringLiteral("<MARQUEE>ここスクロールさせたいに文字を入れる</MARQUEE>"),
         QStringLiteral("文字をスクロールさせるタグです")},
    };
    return kinds;
}

std::optional<TagKind> tagKind(const QString &text)
{
    for (const TagKind &k : tagKinds())
        if (k.name == text)
            return k;
    return std::nullopt;
}

const QStringList &emoticons()
{
    static const QStringList list = {
        QStringLiteral("★ニコニコ系"), QStringLiteral("(^^)"), QStringLiteral("(^o^)"), QStringLiteral("(^^)y"),
        QStringLiteral("(^^)ゞ"), QStringLiteral("(^^)"), QStringLiteral("(^^)／"), QStringLiteral("(^o^)／"),
        QStringLiteral("(^^;"), QStringLiteral("(^ ^)"), QStringLiteral("(^O^)"), QStringLiteral("(^_^)/ ハーイ"),
        QStringLiteral(")^o^("), QStringLiteral("(^。^)"), QStringLiteral(">^_^<ぎゃははー"), QStringLiteral("(^-^)/"),
        QStringLiteral("(#^.^#)"), QStringLiteral("(o^^o)"), QStringLiteral("(●⌒∇⌒●)"), QStringLiteral("(●＾o＾●)"),
        QStringLiteral("(*^_^*)"), QStringLiteral("(￣ー￣) ニヤリッ"), QStringLiteral("(⌒◇⌒)ノ"),
        QStringLiteral("(^_^)ニコニコ"), QStringLiteral("(^o^)ハハハ"), QStringLiteral("v(^^)v"),
        QStringLiteral("p(^_^)q"), QStringLiteral("(^◇^;)げっ"), QStringLiteral("★泣き泣き系"), QStringLiteral("(ToT)"),
        QStringLiteral("(T0T)"), QStringLiteral("(TT)"), QStringLiteral("(T-T)"), QStringLiteral("(ToT)/~~~"),
        QStringLiteral("(ToT)／~~"), QStringLiteral("★そのた"), QStringLiteral("m(_ _)m"), QStringLiteral("(^^?)"),
        QStringLiteral("(*'-'*)"), QStringLiteral("(>_<\")"), QStringLiteral("(￣□￣;)!!"), QStringLiteral("(v_v)"),
        QStringLiteral("(・_・？)ハテ"), QStringLiteral("＼(><)／ギョッ"), QStringLiteral("あっ＼(◎o◎)／"),
        QStringLiteral("(^-^ゝ了解！！"), QStringLiteral("(゜-゜;)"), QStringLiteral("(-_-;) オイオイ..."),
        QStringLiteral("m(__)mペコ"), QStringLiteral("オメデト(^_^)∠※PAN！"), QStringLiteral("(_ _,)/~~ マイッタ"),
        QStringLiteral("o((=゜ェ゜=))o"), QStringLiteral("～～～～～(m--)m"), QStringLiteral("(;￢＿￢)ぁゃιぃ"),
        QStringLiteral("(ｘｘ) ●＝(＾＾●)・・・パンチ！！\u3000"), QStringLiteral("(^‐^)_且~~ \u3000"),
        QStringLiteral("＿・)/°ON"), QStringLiteral("＿・)_。OFF"),
    };
    return list;
}

QString stamp(const QDateTime &when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    static const QString weekdays = QStringLiteral("日月火水木金土");
    const int dayOfWeek = d.dayOfWeek() % 7; // 0 = Sunday
    return QStringLiteral("最終更新日 %1年%2月%3日(%4) %5時%6分")
        .arg(d.year())
        .arg(d.month())
        .arg(d.day())
        .arg(weekdays.at(dayOfWeek))
        .arg(t.hour())
        .arg(t.minute());
}

} // namespace palette
