#include "startprogram.h"

#include "testing/files.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What the system said when a program would not start reaches the user in
// Japanese, never as the system's English.
TEST(StartProgram, AFailedStartSaysWhyInJapanese)
{
    QTemporaryDir tmp;
    const QString script = tmp.filePath(QStringLiteral("no-interpreter.sh"));
    ASSERT_TRUE(vxtest::writeBytes(script, "#!/nonexistent/interpreter\n"));
    ASSERT_TRUE(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const struct {
        QString path;
        QString why;
    } cases[] = {
        {script, QStringLiteral("ファイルまたはフォルダーが見つかりません。")},
        {tmp.filePath(QStringLiteral("missing")), QStringLiteral("ファイルが見つかりません")},
        {tmp.path(), QStringLiteral("実行できるファイルではありません")},
    };
    for (const auto &c : cases) {
        QString why;
        EXPECT_FALSE(vx::startProgram(c.path, &why)) << c.path.toStdString();
        EXPECT_EQ(why, c.why) << c.path.toStdString();
    }
}

} // namespace
