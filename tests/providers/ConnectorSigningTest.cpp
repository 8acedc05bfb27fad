#include "providers/common/QueryString.h"
#include "providers/common/RequestSigner.h"
#include "providers/common/RequestTimestamp.h"
#include "providers/common/SignaturePrehash.h"

#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantrell {
namespace {

// Independent reference values: the exchange's own published example for Binance, and vectors
// computed outside this program (Python's hmac, cross-checked with openssl) for the others.

const QByteArray binanceSecret = "NhqPtmdSJYdKjVHjA7PZj4Mge3R5YNiP1e3UZjInClVN65XAbvqqM6A7H5fATj0j";
const QString sha512OfNothing = QStringLiteral(
    "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce"
    "47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81a538327af927da3e");

const RequestTimestamp at1700000000 = RequestTimestamp(1700000000000);

using Mac = std::function<QString(const QByteArray&, const QByteArray&)>;

struct SigningVector {
    const char* name;
    QString prehash;  // built by the code under test
    QString expectedPrehash;
    QByteArray secret;
    Mac mac;
    QString expectedSignature;
};

std::vector<SigningVector> signingVectors()
{
    const Mac sha256Hex = &RequestSigner::hmacSha256Hex;
    const Mac sha256Base64 = &RequestSigner::hmacSha256Base64;
    const Mac sha512Hex = &RequestSigner::hmacSha512Hex;
    return {
        // The exchange's documented query is not key-sorted, so its text is taken literally.
        {"binance published example",
         QStringLiteral("symbol=LTCBTC&side=BUY&type=LIMIT&timeInForce=GTC&quantity=1&price=0.1"
                        "&recvWindow=5000&timestamp=1499827319559"),
         QStringLiteral("symbol=LTCBTC&side=BUY&type=LIMIT&timeInForce=GTC&quantity=1&price=0.1"
                        "&recvWindow=5000&timestamp=1499827319559"),
         binanceSecret, sha256Hex,
         QStringLiteral("c8db56825ae71d6d79447849e617115f4a920fa2acdcab2b053c4b2838bd6b71")},
        {"binance spot account",
         SignaturePrehash::binance({{QStringLiteral("omitZeroBalances"), QStringLiteral("true")}},
                                   u"5000", at1700000000),
         QStringLiteral("omitZeroBalances=true&recvWindow=5000&timestamp=1700000000000"),
         binanceSecret, sha256Hex,
         QStringLiteral("821af6641542547413c6f4364e0c62f100d8d746e0ed17277e290acd6214876f")},
        // A caller's own timestamp is replaced by the request's.
        {"binance without parameters",
         SignaturePrehash::binance({{QStringLiteral("timestamp"), QStringLiteral("1")}}, u"5000",
                                   at1700000000),
         QStringLiteral("recvWindow=5000&timestamp=1700000000000"), binanceSecret, sha256Hex,
         QStringLiteral("87e5c6222562009dfc00b491bbc2a244513b1555abde13b604bc2c22cf991114")},
        {"okx balance",
         SignaturePrehash::okx(RequestTimestamp(1704164645678), u"GET", u"/api/v5/account/balance"),
         QStringLiteral("2024-01-02T03:04:05.678ZGET/api/v5/account/balance"), "okx-secret",
         sha256Base64, QStringLiteral("y+AyhAEvLXpQyVKZjNdIFUPosxOeMSC1eoK0qS+mSas=")},
        {"bybit wallet",
         SignaturePrehash::bybit(
             at1700000000, u"bybit-key", u"5000",
             QueryString::encoded({{QStringLiteral("accountType"), QStringLiteral("UNIFIED")}})),
         QStringLiteral("1700000000000bybit-key5000accountType=UNIFIED"), "bybit-secret", sha256Hex,
         QStringLiteral("cc6beab87ff58b6f05612e03316846ad09d6336bda1a3c292570b580f2696d48")},
        {"bybit positions",
         SignaturePrehash::bybit(
             at1700000000, u"bybit-key", u"5000",
             QueryString::encoded({{QStringLiteral("settleCoin"), QStringLiteral("USDT")},
                                   {QStringLiteral("limit"), QStringLiteral("200")},
                                   {QStringLiteral("category"), QStringLiteral("linear")}})),
         QStringLiteral("1700000000000bybit-key5000category=linear&limit=200&settleCoin=USDT"),
         "bybit-secret", sha256Hex,
         QStringLiteral("e7cd49c46394cd18585c0c59075527f3b33f4e8d98050c34902fdce3ba938875")},
        {"bitget unified assets",
         SignaturePrehash::bitget(at1700000000, u"GET", u"/api/v3/account/assets", u""),
         QStringLiteral("1700000000000GET/api/v3/account/assets"), "bitget-secret", sha256Base64,
         QStringLiteral("XJl0XcNdbBk9EiboOaCRklZTSwhNByNkL0TuEuRe4YM=")},
        {"bitget classic accounts",
         SignaturePrehash::bitget(at1700000000, u"GET", u"/api/v2/mix/account/accounts",
                                  QueryString::encoded({{QStringLiteral("productType"),
                                                         QStringLiteral("USDT-FUTURES")}})),
         QStringLiteral("1700000000000GET/api/v2/mix/account/accounts?productType=USDT-FUTURES"),
         "bitget-secret", sha256Base64,
         QStringLiteral("6v5uzCQXSzYhiRtHZcZ+KU2IEh4DrgV8U+9J48fbSXA=")},
        {"gate spot accounts",
         SignaturePrehash::gate(u"GET", u"/api/v4/spot/accounts", u"", QByteArray(), at1700000000),
         u"GET\n/api/v4/spot/accounts\n\n"_qs + sha512OfNothing + u"\n1700000000"_qs, "gate-secret",
         sha512Hex,
         QStringLiteral("146c533a020e4664fb67b99f5a75ef13963131c68321be297b4d0cd4c9354ae6"
                        "f459b2504615573b7f936c35da876f9c4d0c9b335fdc331f9a853b3726bf0c7e")},
        {"gate positions",
         SignaturePrehash::gate(
             u"GET", u"/api/v4/futures/usdt/positions",
             QueryString::encoded({{QStringLiteral("limit"), QStringLiteral("100")},
                                   {QStringLiteral("holding"), QStringLiteral("true")}}),
             QByteArray(), at1700000000),
         u"GET\n/api/v4/futures/usdt/positions\nholding=true&limit=100\n"_qs + sha512OfNothing +
             u"\n1700000000"_qs,
         "gate-secret", sha512Hex,
         QStringLiteral("6fae8e2312418203c2f3a8f24268864f9d89a75795c5ed28cab3c1a4680ecc0a"
                        "975453b83a0fc8c8412ee7eee2936ff64f5d27a509c868e9af3ce03e63f1e10a")},
    };
}

TEST(ConnectorSigningTest, PrehashTextsAndSignaturesMatchTheReferenceVectors)
{
    for (const SigningVector& vector : signingVectors()) {
        SCOPED_TRACE(vector.name);
        EXPECT_EQ(vector.prehash, vector.expectedPrehash);
        EXPECT_EQ(vector.mac(vector.secret, vector.prehash.toUtf8()), vector.expectedSignature);
    }
}

// RFC 4231, test case 2.
TEST(ConnectorSigningTest, MacPrimitivesMatchRfc4231)
{
    const QByteArray key = "Jefe";
    const QByteArray data = "what do ya want for nothing?";
    EXPECT_EQ(RequestSigner::hmacSha256Hex(key, data),
              u"5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"_qs);
    EXPECT_EQ(RequestSigner::hmacSha256Base64(key, data),
              u"W9zBRr9gdU5qBCQmCJV1x1oAPwidJzmDnexYuWTsOEM="_qs);
    EXPECT_EQ(RequestSigner::hmacSha512Hex(key, data),
              u"164b7a7bfcf819e2e395fbe73b56e0a387bd64222e831fd610270cd7ea250554"
              u"9758bf75c05a994a6d034f65f8f0e6fdcaeab1a34d4a6b4b636e070a38bce737"_qs);
    EXPECT_EQ(RequestSigner::sha512Hex(QByteArray()), sha512OfNothing);
}

TEST(ConnectorSigningTest, TimestampFormsOfOneInstant)
{
    const RequestTimestamp withMillis(1704164645678);
    EXPECT_EQ(withMillis.millisecondsText(), u"1704164645678"_qs);
    EXPECT_EQ(withMillis.secondsText(), u"1704164645"_qs);
    EXPECT_EQ(withMillis.isoText(), u"2024-01-02T03:04:05.678Z"_qs);
    EXPECT_EQ(at1700000000.isoText(), u"2023-11-14T22:13:20.000Z"_qs);
    EXPECT_EQ(at1700000000.secondsText(), u"1700000000"_qs);
}

TEST(ConnectorSigningTest, ClockTimeIsTruncatedToWholeMillisecondsAndSeconds)
{
    ManualClock clock(Date::fromUnixSeconds(1704164645.678));
    EXPECT_EQ(RequestTimestamp::now(clock).milliseconds(), 1704164645678);
    clock.set(Date::fromUnixSeconds(1704164645.6789));
    EXPECT_EQ(RequestTimestamp::now(clock).milliseconds(), 1704164645678);
    clock.set(Date::fromUnixSeconds(1700000000.9999));
    EXPECT_EQ(RequestTimestamp::now(clock).secondsText(), u"1700000000"_qs);
}

}  // namespace
}  // namespace vantrell
