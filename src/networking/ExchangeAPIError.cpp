#include "networking/ExchangeAPIError.h"

#include <utility>

namespace vantrell {

ExchangeAPIError::ExchangeAPIError(Kind kind, int statusCode, QString text, double seconds)
    : m_kind(kind), m_statusCode(statusCode), m_text(std::move(text)), m_seconds(seconds)
{
    // what() must hand out a pointer that lives as long as the error: build the text once.
    m_what = errorDescription().toStdString();
}

ExchangeAPIError ExchangeAPIError::httpStatus(int statusCode, QString message, QString label)
{
    ExchangeAPIError error(Kind::httpStatus, statusCode, std::move(message), 0);
    error.m_label = std::move(label);
    return error;
}

ExchangeAPIError ExchangeAPIError::api(QString message)
{
    return ExchangeAPIError(Kind::api, 0, std::move(message), 0);
}

ExchangeAPIError ExchangeAPIError::decoding(QString detail)
{
    return ExchangeAPIError(Kind::decoding, 0, std::move(detail), 0);
}

ExchangeAPIError ExchangeAPIError::rateLimited(double seconds)
{
    return ExchangeAPIError(Kind::rateLimited, 0, {}, seconds);
}

ExchangeAPIError ExchangeAPIError::invalidURL()
{
    return ExchangeAPIError(Kind::invalidURL, 0, {}, 0);
}

ExchangeAPIError ExchangeAPIError::invalidResponse()
{
    return ExchangeAPIError(Kind::invalidResponse, 0, {}, 0);
}

ExchangeAPIError ExchangeAPIError::missingCredentials()
{
    return ExchangeAPIError(Kind::missingCredentials, 0, {}, 0);
}

ExchangeAPIError ExchangeAPIError::network()
{
    return ExchangeAPIError(Kind::network, 0, {}, 0);
}

QString ExchangeAPIError::errorDescription() const
{
    switch (m_kind) {
        case Kind::httpStatus:
            return u"HTTP " % QString::number(m_statusCode) % u"：" % m_text;
        case Kind::api:
            return m_text;
        case Kind::decoding:
            // The detail is for diagnostics only; the user sees one fixed text.
            return QStringLiteral("交易所返回的数据格式暂不支持");
        case Kind::rateLimited:
            return QStringLiteral("请求频率受限，将自动延后重试");
        case Kind::invalidURL:
            return QStringLiteral("API 地址无效");
        case Kind::invalidResponse:
            return QStringLiteral("交易所返回了无效响应");
        case Kind::missingCredentials:
            return QStringLiteral("尚未配置 API 凭证");
        case Kind::network:
            return QStringLiteral("网络请求失败，请检查网络后重试");
    }
    return {};
}

const char* ExchangeAPIError::what() const noexcept
{
    return m_what.c_str();
}

bool operator==(const ExchangeAPIError& a, const ExchangeAPIError& b)
{
    return a.m_kind == b.m_kind && a.m_statusCode == b.m_statusCode && a.m_text == b.m_text &&
           a.m_seconds == b.m_seconds && a.m_label == b.m_label;
}

}  // namespace vantrell
