#include "program.h"

#include "testing/harness.h"

#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace {

class ProgramTest : public vxtest::GuiTest {};

// A handler's system error reaches the user in Japanese, not as strerror.
TEST_F(ProgramTest, AHandlersSystemErrorIsToldInJapanese)
{
    const struct {
        std::function<void()> handler;
        QString said;
    } cases[] = {
        {[] { throw std::system_error(ENOSPC, std::generic_category(), "write"); },
         QStringLiteral("実行時エラーです。\nディスクの空き容量が不足しています。")},
        {[] { throw std::system_error(EACCES, std::system_category()); },
         QStringLiteral("実行時エラーです。\nアクセスが許可されていません。")},
    };
    for (const auto &c : cases) {
        vxtest::dialogs().messages.clear();
        vx::dispatch(c.handler);
        EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{c.said});
    }
}

} // namespace
