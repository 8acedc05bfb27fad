#include "networking/ExchangeHTTPClient.h"

#include "networking/NetworkHttpTransport.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace vantrell {

namespace {

// Compared with the whole path of the URL, case-sensitively; the query is not part of it.
constexpr std::array<QStringView, 5> publicTickerPaths = {
    u"/api/v3/ticker/price",         // Binance spot prices
    u"/api/v5/market/tickers",       // OKX spot tickers
    u"/v5/market/tickers",           // Bybit spot tickers
    u"/api/v2/spot/market/tickers",  // Bitget spot tickers
    u"/api/v4/spot/tickers",         // Gate spot tickers
};

bool isSignedHeaderName(const QByteArray& name)
{
    const QByteArray lower = name.toLower();
    return lower.contains("key") || lower.contains("sign");
}

// from_chars reports overflow and underflow alike. Tell them apart by the decimal position of
// the first significant digit, so "1e400" reads as infinity and "1e-400" as zero.
double beyondDoubleRange(std::string_view text)
{
    const bool negative = text.starts_with('-');
    if (negative) {
        text.remove_prefix(1);
    }
    const std::size_t exponentMark = text.find_first_of("eE");
    long long exponent = 0;
    if (exponentMark != std::string_view::npos) {
        std::string_view digits = text.substr(exponentMark + 1);
        if (digits.starts_with('+')) {
            digits.remove_prefix(1);
        }
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
        if (error == std::errc::result_out_of_range) {
            exponent = digits.starts_with('-') ? -(1LL << 40) : (1LL << 40);
        }
    }
    const std::string_view mantissa = text.substr(0, exponentMark);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::string_view integer = mantissa.substr(0, point);
    long long position = 0;  // digits before the point from the first significant one
    if (const std::size_t first = integer.find_first_not_of('0'); first != integer.npos) {
        position = static_cast<long long>(integer.size() - first);
    } else if (point < mantissa.size()) {
        const std::string_view fraction = mantissa.substr(point + 1);
        position =
            -static_cast<long long>(std::min(fraction.find_first_not_of('0'), fraction.size()));
    }
    const double magnitude =
        position + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

// The whole text as a floating-point number: an optional sign, then a decimal number, "inf",
// "infinity" or "nan". Nothing for any other text.
std::optional<double> readNumber(std::string_view text)
{
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('+') || text.starts_with('-')) {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (stop != end) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        return beyondDoubleRange(text);
    }
    if (error != std::errc()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

ExchangeHTTPClient::ExchangeHTTPClient() : ExchangeHTTPClient(NetworkHttpTransport::shared()) {}

ExchangeHTTPClient::ExchangeHTTPClient(HttpTransport& transport, PublicMarketCache& cache,
                                       const Clock& clock)
    : m_transport(&transport), m_cache(&cache), m_clock(&clock)
{
}

std::optional<QUrl> ExchangeHTTPClient::publicMarketURL(const HttpRequest& request)
{
    if (request.method && *request.method != "GET") {
        return std::nullopt;
    }
    const QString path = request.url.path();
    if (request.url.isEmpty() || std::find(publicTickerPaths.begin(), publicTickerPaths.end(),
                                           path) == publicTickerPaths.end()) {
        return std::nullopt;
    }
    // Header values are not looked at: only a name can mark a request as signed.
    if (std::any_of(
            request.headers.begin(), request.headers.end(),
            [](const HttpRequest::Header& header) { return isSignedHeaderName(header.first); })) {
        return std::nullopt;
    }
    return request.url;
}

QString ExchangeHTTPClient::publicErrorMessage(const QByteArray& body)
{
    const QString fallback = QStringLiteral("请求失败");
    JsonValue root;
    try {
        root = JsonReader::parse(body);
    } catch (const JsonDecodeError&) {
        return fallback;
    }
    if (!root.isObject()) {
        return fallback;
    }
    // A value of another kind does not count: a numeric "code" never becomes the message.
    for (const std::string_view key : {"msg", "message", "code"}) {
        const JsonValue* value = root.find(key);
        if (value != nullptr && value->isString()) {
            return value->toQString();
        }
    }
    return fallback;
}

QString ExchangeHTTPClient::errorLabel(const QByteArray& body)
{
    JsonValue root;
    try {
        root = JsonReader::parse(body);
    } catch (const JsonDecodeError&) {
        return {};
    }
    const JsonValue* label = root.isObject() ? root.find("label") : nullptr;
    return label != nullptr && label->isString() ? label->toQString() : QString();
}

double ExchangeHTTPClient::retryAfterSeconds(const std::optional<QByteArray>& retryAfter)
{
    constexpr double fallback = 60;
    constexpr double shortest = 1;
    constexpr double longest = 3600;
    const std::optional<double> seconds =
        retryAfter ? readNumber(std::string_view(retryAfter->constData(),
                                                 static_cast<std::size_t>(retryAfter->size())))
                   : std::nullopt;
    // NaN would slip through every comparison below and end up in the store's back-off time.
    if (!seconds || std::isnan(*seconds)) {
        return fallback;
    }
    if (*seconds <= shortest) {
        return shortest;
    }
    return std::min(*seconds, longest);
}

std::optional<ExchangeAPIError> ExchangeHTTPClient::errorForResponse(const HttpResponse& response)
{
    if (!response.statusCode) {
        return ExchangeAPIError::invalidResponse();
    }
    const int status = *response.statusCode;
    if (status >= 200 && status <= 299) {
        return std::nullopt;
    }
    if (status == 418 || status == 429) {
        return ExchangeAPIError::rateLimited(retryAfterSeconds(response.header("Retry-After")));
    }
    // Includes a redirect that was not followed.
    return ExchangeAPIError::httpStatus(status, publicErrorMessage(response.body),
                                        errorLabel(response.body));
}

QCoro::Task<QByteArray> ExchangeHTTPClient::fetchBody(HttpTransport& transport, HttpRequest request)
{
    HttpResponse response;
    try {
        response = co_await transport.perform(std::move(request));
    } catch (const HttpTransportError&) {
        // Whatever went wrong in the transfer means the same to the user.
        throw ExchangeAPIError::network();
    }
    if (std::optional<ExchangeAPIError> error = errorForResponse(response)) {
        throw std::move(*error);
    }
    co_return std::move(response.body);
}

}  // namespace vantrell
