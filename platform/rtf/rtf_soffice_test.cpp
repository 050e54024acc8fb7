// Rich text as another word processor writes and reads it: LibreOffice,
// started headless. Skipped where it is not installed.
#include "rtf.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

class Soffice : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (program_.isEmpty())
            GTEST_SKIP() << "soffice is not installed";
        ASSERT_TRUE(dir_.isValid());
    }
    QString path(const QString &name) const { return dir_.filePath(name); }
    // Converts `input` with the export filter `to`; the converted file's path.
    QString convert(const QString &input, const QString &to, const QString &suffix)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program_, {QStringLiteral("-env:UserInstallation=file://") + path(QStringLiteral("profile")),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), to,
                           QStringLiteral("--outdir"), path(QStringLiteral("out")), input});
        EXPECT_TRUE(p.waitForFinished(90000)) << "soffice did not finish";
        const QString out = path(QStringLiteral("out/") + QFileInfo(input).completeBaseName() + suffix);
        EXPECT_TRUE(QFile::exists(out)) << p.readAll().constData();
        return out;
    }
    static QByteArray bytes(const QString &p)
    {
        QFile f(p);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    static void put(const QString &p, const QByteArray &b)
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }

    QString program_;
    QTemporaryDir dir_;
};

TEST_F(Soffice, ReadsWhatItWrites)
{
    put(path(QStringLiteral("in.html")),
        QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>"
                       "<p align=\"center\" style=\"font-size:16pt\"><b>見出しの行</b></p>"
                       "<p>本文です。<i>斜体</i>と<span style=\"color:#ff0000\">赤い字</span>。～①</p>"
                       "<p align=\"right\">右寄せ English</p></body></html>")
            .toUtf8());
    const QString rtf = convert(path(QStringLiteral("in.html")), QStringLiteral("rtf:Rich Text Format"),
                                QStringLiteral(".rtf"));
    QTextDocument doc;
    QString error;
    ASSERT_TRUE(vx::rtf::read(bytes(rtf), doc, &error)) << error.toStdString();
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("見出しの行\n本文です。斜体と赤い字。～①\n右寄せ English"));
    const QTextBlock heading = doc.firstBlock();
    EXPECT_EQ(heading.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat h = heading.begin().fragment().charFormat();
    EXPECT_GE(h.fontWeight(), QFont::Bold);
    EXPECT_EQ(h.fontPointSize(), 16);
    bool red = false, italic = false;
    for (auto it = heading.next().begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.text() == QStringLiteral("赤い字"))
            red = f.charFormat().foreground().color() == QColor(255, 0, 0);
        if (f.text() == QStringLiteral("斜体"))
            italic = f.charFormat().fontItalic();
    }
    EXPECT_TRUE(red);
    EXPECT_TRUE(italic);
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST_F(Soffice, OpensWhatWeWrite)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontFamilies({QStringLiteral("ＭＳ Ｐゴシック")});
    c.insertText(QStringLiteral("日本語の見出し"), bold);
    c.insertBlock();
    c.insertText(QStringLiteral("ｶﾀｶﾅ ～ é {braces} \\ 𠮷 end"), QTextCharFormat());
    put(path(QStringLiteral("ours.rtf")), vx::rtf::write(doc));
    const QString txt =
        convert(path(QStringLiteral("ours.rtf")), QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral(".txt"));
    QString text = QString::fromUtf8(bytes(txt));
    text.remove(QChar(0xFEFF));
    EXPECT_EQ(text.trimmed(), doc.toPlainText());
}

} // namespace
