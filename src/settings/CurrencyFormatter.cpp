#include "settings/CurrencyFormatter.h"

#include <QHash>
#include <QLocale>

namespace vantrell {

namespace {

constexpr qsizetype maximumCachedFormatters = 32;

QHash<QString, std::shared_ptr<const NumberFormatter>>& formatterCache()
{
    static QHash<QString, std::shared_ptr<const NumberFormatter>> cache;
    return cache;
}

// Symbols for currencies other than the locale's own. QLocale only knows the symbol of each
// locale's own currency, so these are the common English forms; where the locale's currency
// uses the same sign (the dollar in Canada or Australia) the longer form tells them apart.
struct ForeignSymbol {
    QString usual;
    QString distinct;
};

ForeignSymbol foreignSymbol(DisplayCurrency currency)
{
    switch (currency) {
        case DisplayCurrency::usd:
            return {QStringLiteral("$"), QStringLiteral("US$")};
        case DisplayCurrency::eur:
            return {QStringLiteral("€"), QStringLiteral("€")};
        case DisplayCurrency::cny:
            return {QStringLiteral("CN¥"), QStringLiteral("CN¥")};
        case DisplayCurrency::hkd:
            return {QStringLiteral("HK$"), QStringLiteral("HK$")};
        case DisplayCurrency::usdt:
            break;
    }
    return {QStringLiteral("USDT"), QStringLiteral("USDT")};
}

// Chinese writes every foreign dollar with its country ("US$", "HK$"), as its locale data
// has it, where English writes the US dollar as "$".
bool namesEveryDollar(const QLocale& locale)
{
    return locale.language() == QLocale::Chinese;
}

QString currencySymbol(const QLocale& locale, DisplayCurrency currency)
{
    const QString code = toStored(currency);
    if (locale.currencySymbol(QLocale::CurrencyIsoCode) == code) {
        return locale.currencySymbol(QLocale::CurrencySymbol);
    }
    const ForeignSymbol symbol = foreignSymbol(currency);
    const bool ambiguous = symbol.usual == locale.currencySymbol(QLocale::CurrencySymbol);
    return ambiguous || namesEveryDollar(locale) ? symbol.distinct : symbol.usual;
}

QString cacheKey(const QLocale& locale, std::optional<DisplayCurrency> currency, int digits,
                 bool whole)
{
    const QString kind = currency ? toStored(*currency) : QStringLiteral("decimal");
    return locale.name() + u'-' + kind + u'-' + QString::number(digits) + u'-' +
           (whole ? QStringLiteral("true") : QStringLiteral("false"));
}

}  // namespace

std::shared_ptr<const NumberFormatter> CurrencyFormatter::formatter(
    std::optional<DisplayCurrency> currency, int digits, bool whole)
{
    auto& cache = formatterCache();
    const QString key = cacheKey(QLocale(), currency, digits, whole);
    if (const auto found = cache.constFind(key); found != cache.constEnd()) {
        return found.value();
    }
    auto created = std::make_shared<const NumberFormatter>(makeFormatter(currency, digits, whole));
    if (cache.size() >= maximumCachedFormatters) {
        cache.clear();
    }
    cache.insert(key, created);
    return created;
}

NumberFormatter CurrencyFormatter::makeFormatter(std::optional<DisplayCurrency> currency,
                                                 int digits, bool whole)
{
    const QLocale locale;
    const auto rounding = whole ? Decimal::Rounding::down : Decimal::Rounding::halfAwayFromZero;
    if (!currency) {
        return NumberFormatter::decimal(locale, 0, digits, rounding);
    }
    if (*currency == DisplayCurrency::usdt) {
        return NumberFormatter::decimal(locale, digits, digits, rounding);
    }
    return NumberFormatter::currency(locale, toStored(*currency), currencySymbol(locale, *currency),
                                     digits, rounding);
}

QString CurrencyFormatter::money(const Decimal& amount, DisplayCurrency currency, bool whole)
{
    const int digits = whole ? 0 : 2;
    const QString text = formatter(currency, digits, whole)->format(amount);
    if (currency == DisplayCurrency::usdt) {
        return QStringLiteral("USDT ") + (text.isEmpty() ? QStringLiteral("0") : text);
    }
    return text.isEmpty() ? QStringLiteral("—") : text;
}

int CurrencyFormatter::cachedFormatterCount()
{
    return static_cast<int>(formatterCache().size());
}

}  // namespace vantrell
