#include "services/VersionNumber.h"

#include <QList>

#include <algorithm>

namespace vantrell {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

std::strong_ordering compareNumbers(const QString& a, const QString& b)
{
    if (a.size() != b.size()) {
        return a.size() <=> b.size();
    }
    const int order = a.compare(b);
    return order <=> 0;
}

}  // namespace

std::optional<VersionNumber> VersionNumber::parse(QStringView text)
{
    if (text.isEmpty() || text.size() > maxLength) {
        return std::nullopt;
    }
    VersionNumber version;
    for (const QStringView part : text.split(u'.')) {
        if (part.isEmpty() || !std::all_of(part.begin(), part.end(), isAsciiDigit)) {
            return std::nullopt;
        }
        qsizetype firstSignificant = 0;
        while (firstSignificant < part.size() && part[firstSignificant] == u'0') {
            ++firstSignificant;
        }
        version.m_components.push_back(part.mid(firstSignificant).toString());
    }
    return version;
}

std::strong_ordering operator<=>(const VersionNumber& a, const VersionNumber& b)
{
    const std::size_t count = std::max(a.m_components.size(), b.m_components.size());
    const QString zero;
    for (std::size_t i = 0; i < count; ++i) {
        const QString& left = i < a.m_components.size() ? a.m_components[i] : zero;
        const QString& right = i < b.m_components.size() ? b.m_components[i] : zero;
        const std::strong_ordering order = compareNumbers(left, right);
        if (order != std::strong_ordering::equal) {
            return order;
        }
    }
    return std::strong_ordering::equal;
}

}  // namespace vantrell
