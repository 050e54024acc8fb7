#include "syserror.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

// The system's English, however it arrives, reaches the user as a Japanese
// sentence.
TEST(SystemReason, TheSystemsEnglishBecomesJapanese)
{
    const struct {
        const char *said;
        const char *reason;
    } cases[] = {
        {"Permission denied", "アクセスが許可されていません。"},
        {"execve: No such file or directory", "ファイルまたはフォルダーが見つかりません。"},
        {"Could not start: No space left on device", "ディスクの空き容量が不足しています。"},
        {"Exec format error", "実行できる形式のファイルではありません。"},
        {"Process failed to start", "システムのエラーで失敗しました。"},
        {"", "システムのエラーで失敗しました。"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vx::systemReasonOfText(QString::fromUtf8(c.said)), QString::fromUtf8(c.reason)) << c.said;
    for (const int e : {EACCES, ENOENT, ENOSPC, EDQUOT, EIO, ENOEXEC, EROFS, 12345})
        for (const QChar ch : vx::systemReason(e))
            EXPECT_FALSE(ch.isLetter() && ch.unicode() < 0x80) << e;
}

} // namespace
