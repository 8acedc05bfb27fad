#include "store/PortfolioValueHistory.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace vantrell {

PortfolioValueHistory::PortfolioValueHistory(std::vector<PortfolioValuePoint> points,
                                             std::optional<QString> coverage)
    : m_points(std::move(points)), m_coverage(std::move(coverage))
{
}

PortfolioValueHistory::Recording PortfolioValueHistory::record(Date at, const Decimal& totalValue,
                                                               const QString& coverage)
{
    Recording recording;
    if (m_coverage && !m_coverage->isEmpty() && *m_coverage != coverage) {
        recording.archive = Archive{*m_coverage, std::exchange(m_points, {})};
    }
    m_coverage = coverage;
    trim(at, recording);
    recording.appended = insert(at, totalValue);
    return recording;
}

// Only a clock far ahead (or 90 days without a recording) ages out every point in one go; the
// points may well be real, so they are archived rather than dropped.
void PortfolioValueHistory::trim(Date at, Recording& recording)
{
    const Date oldest = at.addingSeconds(-retentionSeconds);
    const auto aged = [oldest](const PortfolioValuePoint& p) { return p.timestamp < oldest; };
    if (!m_points.empty() && std::all_of(m_points.begin(), m_points.end(), aged)) {
        recording.archive = Archive{*m_coverage, std::exchange(m_points, {})};
        return;
    }
    std::erase_if(m_points, aged);
}

bool PortfolioValueHistory::insert(Date at, const Decimal& totalValue)
{
    if (!std::isfinite(at.secondsSinceReferenceDate)) {
        return false;  // a broken clock reading has no place in time
    }
    const auto later = std::upper_bound(
        m_points.begin(), m_points.end(), at,
        [](Date date, const PortfolioValuePoint& point) { return date < point.timestamp; });
    const auto tooClose = [at](const PortfolioValuePoint& point) {
        return std::abs(at.secondsSince(point.timestamp)) < pointSpacingSeconds;
    };
    if ((later != m_points.begin() && tooClose(*std::prev(later))) ||
        (later != m_points.end() && tooClose(*later))) {
        return false;
    }
    m_points.insert(later, {at, totalValue});
    return true;
}

// The texts are fixed exchange names and account-type words, all below U+FFFF, so QString's
// order is the code-point order.
QString PortfolioValueHistory::coverageText(const std::vector<ExchangeAccount>& accounts)
{
    QStringList texts;
    for (const ExchangeAccount& account : accounts) {
        QStringList types;
        for (const AccountBreakdown& breakdown : account.accounts) {
            types.append(toStored(breakdown.type));
        }
        types.sort();
        texts.append(caseName(account.exchange) + u':' + types.join(u','));
    }
    texts.sort();
    return texts.join(u';');
}

}  // namespace vantrell
