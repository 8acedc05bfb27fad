#pragma once

#include <QString>

#include <exception>
#include <string>

namespace vantrell {

// The one error of every exchange request, with the text the user sees for it.
class ExchangeAPIError : public std::exception {
public:
    enum class Kind {
        httpStatus,
        api,
        decoding,
        rateLimited,
        invalidURL,
        invalidResponse,
        missingCredentials,
        network,
    };

    // `label` is the reply's machine-readable error name where the exchange sends one (Gate's
    // "label"); it never reaches the user's text.
    static ExchangeAPIError httpStatus(int statusCode, QString message, QString label = {});
    static ExchangeAPIError api(QString message);
    static ExchangeAPIError decoding(QString detail);
    static ExchangeAPIError rateLimited(double seconds);
    static ExchangeAPIError invalidURL();
    static ExchangeAPIError invalidResponse();
    static ExchangeAPIError missingCredentials();
    static ExchangeAPIError network();

    Kind kind() const { return m_kind; }
    int statusCode() const { return m_statusCode; }    // httpStatus only
    const QString& message() const { return m_text; }  // httpStatus, api: message; decoding: detail
    double retryAfterSeconds() const { return m_seconds; }  // rateLimited only
    const QString& label() const { return m_label; }        // httpStatus only; may be empty

    // The user-facing text of the error.
    QString errorDescription() const;
    // The same text as UTF-8, for std::exception.
    const char* what() const noexcept override;

    friend bool operator==(const ExchangeAPIError& a, const ExchangeAPIError& b);

private:
    ExchangeAPIError(Kind kind, int statusCode, QString text, double seconds);

    Kind m_kind;
    int m_statusCode = 0;
    QString m_text;
    double m_seconds = 0;
    QString m_label;
    std::string m_what;
};

}  // namespace vantrell
