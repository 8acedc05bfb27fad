#include "views/portfolio/FilterBarOptions.h"

#include "platform/MemoryDefaultsStore.h"
#include "security/LocalCredentialStore.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

template <typename T>
std::vector<QString> textsOf(const std::vector<FilterOption<T>>& options)
{
    std::vector<QString> texts;
    for (const auto& option : options) {
        texts.push_back(option.text);
    }
    return texts;
}

const auto everyMainAccountComplete = [](Exchange) { return true; };

}  // namespace

TEST(FilterBarOptionsTest, NothingConfiguredOffersOnlyTheAllItems)
{
    EXPECT_EQ(textsOf(FilterBarOptions::exchanges({})), std::vector<QString>{u"全部交易所"_qs});
    const auto accounts = FilterBarOptions::accounts({}, everyMainAccountComplete, {});
    ASSERT_EQ(accounts.size(), 1u);
    EXPECT_EQ(accounts[0], (FilterOption<QString>{u"全部账户"_qs, std::nullopt}));
}

TEST(FilterBarOptionsTest, ExchangesInConfiguredOrderTaggedWithTheExchange)
{
    const auto options = FilterBarOptions::exchanges({Exchange::okx, Exchange::gateio});
    EXPECT_EQ(textsOf(options), (std::vector<QString>{u"全部交易所"_qs, u"OKX"_qs, u"Gate.io"_qs}));
    EXPECT_EQ(options[2].tag, Exchange::gateio);
}

TEST(FilterBarOptionsTest, AccountsListCompleteMainAccountsThenEveryAdditionalAccount)
{
    // Bybit is configured only through an additional account; the Binance account's exchange
    // is not configured at all and is listed all the same.
    const std::vector<AdditionalExchangeAccount> additional{
        {u"B-1"_qs, Exchange::bybit, u"Swing"_qs}, {u"X-9"_qs, Exchange::binance, u"Old"_qs}};
    const auto mainComplete = [](Exchange e) { return e != Exchange::bybit; };
    const auto options = FilterBarOptions::accounts(
        {Exchange::okx, Exchange::bybit, Exchange::gateio}, mainComplete, additional);
    EXPECT_EQ(textsOf(options),
              (std::vector<QString>{u"全部账户"_qs, u"OKX 默认账户"_qs, u"Gate.io 默认账户"_qs,
                                    u"Bybit · Swing"_qs, u"Binance · Old"_qs}));
    EXPECT_EQ(options[1].tag, u"okx"_qs);
    EXPECT_EQ(options[2].tag, u"gateio"_qs);
    EXPECT_EQ(options[3].tag, u"B-1"_qs);
}

TEST(FilterBarOptionsTest, AccountsAskTheCredentialStoreForCompleteMainAccounts)
{
    MemoryDefaultsStore defaults;
    LocalCredentialStore credentials(defaults);
    credentials.setValue(u"key"_qs, CredentialField::bybitAPIKey);
    credentials.setValue(u"secret"_qs, CredentialField::bybitSecretKey);
    credentials.setValue(u"key"_qs, CredentialField::okxAPIKey);  // no secret, no passphrase
    credentials.saveAccount({u"E-2"_qs, Exchange::okx, u"Alt"_qs});

    const auto options = FilterBarOptions::accounts({Exchange::okx, Exchange::bybit}, credentials);
    EXPECT_EQ(textsOf(options),
              (std::vector<QString>{u"全部账户"_qs, u"Bybit 默认账户"_qs, u"OKX · Alt"_qs}));
}

TEST(FilterBarOptionsTest, SidesAndFixedTexts)
{
    const auto sides = FilterBarOptions::sides();
    EXPECT_EQ(textsOf(sides), (std::vector<QString>{u"全部方向"_qs, u"多仓"_qs, u"空仓"_qs}));
    EXPECT_EQ(sides[1].tag, PositionSide::long_);
    EXPECT_EQ(sides[2].tag, PositionSide::short_);
    EXPECT_EQ(FilterBarOptions::hideSmallLabel, u"隐藏小额（低于 $1）"_qs);
    EXPECT_EQ(FilterBarOptions::searchPlaceholder, u"搜索币种或交易所"_qs);
}

TEST(FilterBarOptionsTest, AValueNoLongerOfferedSelectsNothing)
{
    const auto exchanges = FilterBarOptions::exchanges({Exchange::okx});
    EXPECT_EQ(indexOfOption(exchanges, std::optional<Exchange>()), 0);
    EXPECT_EQ(indexOfOption(exchanges, std::optional(Exchange::okx)), 1);
    EXPECT_EQ(indexOfOption(exchanges, std::optional(Exchange::bybit)), -1);
    const auto accounts = FilterBarOptions::accounts({}, everyMainAccountComplete, {});
    EXPECT_EQ(indexOfOption(accounts, std::optional(u"removed"_qs)), -1);
}
