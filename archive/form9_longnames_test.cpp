// Names as long as the file system takes, dropped on the archive window with
// the real archiver libraries behind it.
#include "form9_fixture_test.h"

#include "platform/archivers/loader/archivers.h"

#include <QDirIterator>

using vxtest::dialogs;

namespace {

// Japanese characters of three bytes each, padded with 'x' to `bytes` bytes.
QString japanese(int bytes)
{
    return QString(bytes / 3, QChar(0x672C)) + QString(bytes % 3, QLatin1Char('x'));
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every name in a folder, hidden ones too.
QStringList namesIn(const QString &dir)
{
    QStringList out = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    out.sort();
    return out;
}

} // namespace

class Form9LongNames : public Form9Test {
protected:
    void SetUp() override
    {
        Form9Test::SetUp();
        vx::archivers::setBackend(nullptr);
        if (vx::archivers::searchLibrary("zip32j.so").empty())
            GTEST_SKIP() << "the archiver libraries are not beside the tests";
    }
    // The texts of the boxes shown since the last call.
    QStringList boxes()
    {
        QStringList out;
        for (size_t i = seen_; i < dialogs().messages.size(); ++i)
            out << dialogs().messages[i].title + QLatin1Char(':') + dialogs().messages[i].text;
        seen_ = dialogs().messages.size();
        return out;
    }

private:
    size_t seen_ = 0;
};

const QString kZipped = QStringLiteral("成功○:圧縮に成功しました。(^o^)");
const QString kUnzipped = QStringLiteral("成功○:解凍に成功しました。(^o^)");

// A file whose archive names are 254 bytes, on every two-way box; each archive
// overwritten, then dropped back for extraction into a folder of 250 bytes.
TEST_F(Form9LongNames, ArchivesNamedUpTo255BytesAreWrittenOverwrittenAndExtracted)
{
    const QString stem = japanese(250);
    touch(QStringLiteral("w/") + stem + QStringLiteral(".txt"), "本文");
    Form9 &w = window();
    struct Box {
        void (Form9::*drop)(const QStringList &);
        int tarFormat;
        QString ext;
    };
    const Box boxes_[] = {{&Form9::Text1_OLEDragDrop, 0, QStringLiteral(".lzh")},
                          {&Form9::Text2_OLEDragDrop, 0, QStringLiteral(".zip")},
                          {&Form9::Text3_OLEDragDrop, 0, QStringLiteral(".cab")},
                          {&Form9::Text7_OLEDragDrop, 0, QStringLiteral(".tar")},
                          {&Form9::Text7_OLEDragDrop, 1, QStringLiteral(".tgz")}};
    for (const Box &b : boxes_) {
        SCOPED_TRACE(b.ext.toStdString());
        w.Combo1.setListIndex(b.tarFormat);
        const QString archive = path(QStringLiteral("w/") + stem + b.ext);
        (w.*b.drop)({path(QStringLiteral("w/") + stem + QStringLiteral(".txt"))});
        EXPECT_EQ(boxes(), QStringList{kZipped});
        ASSERT_TRUE(QFileInfo(archive).isFile());
        // Overwriting steps the old archive aside under a name of our own.
        dialogs().answers = {vx::vbYes};
        (w.*b.drop)({path(QStringLiteral("w/") + stem + QStringLiteral(".txt"))});
        const QStringList asked = boxes();
        if (b.ext == QStringLiteral(".zip") || b.ext == QStringLiteral(".cab")) {
            EXPECT_EQ(asked, QStringList{kZipped}); // these add to the archive without asking
        } else {
            ASSERT_EQ(asked.size(), 2);
            EXPECT_EQ(asked[1], kZipped);
        }
        (w.*b.drop)({archive});
        EXPECT_EQ(boxes(), QStringList{kUnzipped});
        EXPECT_EQ(contents(path(QStringLiteral("w/") + stem + QStringLiteral("/") + stem + QStringLiteral(".txt"))),
                  QByteArray("本文"));
        QDir(path(QStringLiteral("w/") + stem)).removeRecursively();
        QFile::remove(archive);
        EXPECT_EQ(namesIn(path(QStringLiteral("w"))), QStringList{stem + QStringLiteral(".txt")});
    }
}

// A folder of 238 bytes on the TAR box, and a ZIP whose folder is 246 bytes.
TEST_F(Form9LongNames, LongFoldersAreArchivedAndExtracted)
{
    const QString folder = QStringLiteral("fold") + QString(78, QChar(0x672C));
    touch(folder + QStringLiteral("/") + japanese(255), "a");
    Form9 &w = window();
    w.Text7_OLEDragDrop({path(folder)});
    EXPECT_EQ(boxes(), QStringList{kZipped});
    EXPECT_TRUE(QFileInfo(path(folder + QStringLiteral(".tar"))).isFile());
    const QString zipStem = japanese(246);
    touch(QStringLiteral("z/") + zipStem + QStringLiteral(".txt"), "z");
    w.Text2_OLEDragDrop({path(QStringLiteral("z/") + zipStem + QStringLiteral(".txt"))});
    QFile::remove(path(QStringLiteral("z/") + zipStem + QStringLiteral(".txt")));
    w.Text2_OLEDragDrop({path(QStringLiteral("z/") + zipStem + QStringLiteral(".zip"))});
    EXPECT_EQ(boxes(), (QStringList{kZipped, kUnzipped}));
    EXPECT_EQ(contents(path(QStringLiteral("z/") + zipStem + QStringLiteral("/") + zipStem + QStringLiteral(".txt"))),
              QByteArray("z"));
}

// A dropped name whose archive name would pass 255 bytes: said plainly, and
// nothing written.
TEST_F(Form9LongNames, AnArchiveNameTheFileSystemCannotHoldIsSaidPlainly)
{
    const QString name = japanese(253); // "name.zip" would be 257 bytes
    touch(QStringLiteral("w/") + name, "a");
    touch(QStringLiteral("w/") + name + QStringLiteral("d/inner.txt"), "b"); // a folder of 254 bytes
    Form9 &w = window();
    const QString tooLong = QStringLiteral("失敗×:書庫の名前が長すぎるため圧縮できません。\r\n(名前は255バイトまでです)(T.T)");
    w.Text2_OLEDragDrop({path(QStringLiteral("w/") + name)});
    w.Text1_OLEDragDrop({path(QStringLiteral("w/") + name + QStringLiteral("d"))});
    w.Text7_OLEDragDrop({path(QStringLiteral("w/") + name)});
    w.Text3_OLEDragDrop({path(QStringLiteral("w/") + name), path(QStringLiteral("w/") + name + QStringLiteral("d"))});
    EXPECT_EQ(boxes(), (QStringList{tooLong, tooLong, tooLong, tooLong}));
    EXPECT_EQ(namesIn(path(QStringLiteral("w"))), (QStringList{name, name + QStringLiteral("d")}));
}
