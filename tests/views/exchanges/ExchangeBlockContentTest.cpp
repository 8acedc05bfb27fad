#include "views/exchanges/ExchangeBlockContent.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

using State = ExchangeRefreshStatus::State;

const std::vector<AdditionalExchangeAccount> stored{{u"A"_qs, Exchange::okx, u"套利"_qs},
                                                    {u"B"_qs, Exchange::bybit, u"账户 2"_qs},
                                                    {u"C"_qs, Exchange::okx, u"长线"_qs}};

ExchangeBlockContent okx(bool configured, State state, std::optional<QUrl> link = std::nullopt,
                         std::vector<AdditionalExchangeAccount> accounts = stored)
{
    return ExchangeBlockContent::of(Exchange::okx, configured, {std::move(state), {}, {}}, link,
                                    accounts);
}

TEST(ExchangeBlockContentTest, HoldsTheExchangesOwnAccountsAndOnlyAUsableLink)
{
    const ExchangeBlockContent block =
        okx(true, State::failed(u"签名错误"_qs), QUrl(u"https://join.example/o"_qs));
    ASSERT_EQ(block.accounts.size(), 2u);
    EXPECT_EQ(block.accounts[0].id, u"A");
    EXPECT_EQ(block.accounts[1].id, u"C");
    EXPECT_EQ(block.statusText, u"已添加 · 签名错误");
    EXPECT_EQ(block.statusTooltip, u"已添加 · 签名错误");
    EXPECT_EQ(block.registrationURL, QUrl(u"https://join.example/o"_qs));
    EXPECT_EQ(okx(true, State::connected(), QUrl(u"http://join.example/o"_qs)).registrationURL,
              std::nullopt);
}

TEST(ExchangeBlockContentTest, OnlyTheStatusLineChangesWithoutNewRows)
{
    const ExchangeBlockContent shown = okx(true, State::connected());
    EXPECT_TRUE(shown.hasSameRows(okx(true, State::connecting())));
    EXPECT_TRUE(shown.hasSameRows(okx(true, State::failed(u"超时"_qs))));
    EXPECT_NE(shown, okx(true, State::connecting()));

    EXPECT_FALSE(shown.hasSameRows(okx(false, State::connected()))) << "configuration";
    EXPECT_FALSE(shown.hasSameRows(okx(true, State::connected(), QUrl(u"https://j.example"_qs))));
    EXPECT_FALSE(shown.hasSameRows(okx(true, State::connected(), std::nullopt, {stored[0]})));
    auto renamed = stored;
    renamed[2].alias = u"新名字"_qs;
    EXPECT_FALSE(shown.hasSameRows(okx(true, State::connected(), std::nullopt, renamed)));
    EXPECT_TRUE(
        shown.hasSameRows(okx(true, State::connected(), std::nullopt, {stored[0], stored[2]})))
        << "other exchanges' accounts do not count";
}

TEST(ExchangeBlockContentTest, ListsMatchBlockByBlock)
{
    const std::vector<ExchangeBlockContent> shown{okx(true, State::connected())};
    EXPECT_TRUE(haveSameRows(shown, {okx(true, State::connecting())}));
    EXPECT_FALSE(haveSameRows(shown, {}));
    EXPECT_FALSE(haveSameRows({}, shown)) << "nothing drawn yet";
    EXPECT_FALSE(
        haveSameRows(shown, {okx(true, State::connected()), okx(true, State::connected())}));
}

}  // namespace
