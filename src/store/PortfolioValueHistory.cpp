#include "store/PortfolioValueHistory.h"

#include <QStringList>

#include <algorithm>

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

    const Date oldest = at.addingSeconds(-retentionSeconds);
    std::erase_if(m_points,
                  [oldest](const PortfolioValuePoint& p) { return p.timestamp < oldest; });

    if (m_points.empty() || at.secondsSince(m_points.back().timestamp) >= pointSpacingSeconds) {
        m_points.push_back({at, totalValue});
        recording.appended = true;
    }
    return recording;
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
