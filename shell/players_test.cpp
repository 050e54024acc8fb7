// The three players switch to each other through the players' table, as the
// program joins them.
#include "media/player/connect.h"
#include "media/player/form3.h"
#include "media/player2/connect.h"
#include "media/player2/form20.h"
#include "media/player3/player3_fixture_test.h"

using namespace vx;
namespace keys = player3::keys;

namespace {

class PlayersSwitchTest : public Player3Test {
protected:
    void SetUp() override
    {
        Player3Test::SetUp();
        player::connect();
        player2::connect();
    }
};

TEST_F(PlayersSwitchTest, EachPlayerSwitchesToTheOthersAndRecordsTheOneLeftFor)
{
    Form3 &first = instance<Form3>();
    ASSERT_TRUE(first.Command2.isEnabled());
    first.Show();
    first.Command2_Click();
    EXPECT_FALSE(first.Visible());
    EXPECT_TRUE(instance<FormVX3>().Visible());
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("3"));
    instance<FormVX3>().Command2_Click();
    Form20 &second = instance<Form20>();
    ASSERT_TRUE(second.Command2.isEnabled());
    EXPECT_TRUE(second.Visible());
    second.Command2_Click();
    EXPECT_FALSE(second.Visible());
    EXPECT_TRUE(instance<FormVX3>().Visible());
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("3"));

    instance<FormVX3>().Command3_Click();
    EXPECT_TRUE(first.Visible());
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("1"));
    ASSERT_TRUE(first.Command10.isEnabled());
    first.Command10_Click();
    EXPECT_FALSE(first.Visible());
    EXPECT_TRUE(second.Visible());
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("2"));
    second.Command4_Click();
    EXPECT_FALSE(second.Visible());
    EXPECT_TRUE(first.Visible());
}

} // namespace
