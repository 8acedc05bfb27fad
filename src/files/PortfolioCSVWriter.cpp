#include "files/PortfolioCSVWriter.h"

#include "files/PortfolioDiskWriter.h"

#include <QDateTime>
#include <QSaveFile>

#include <cmath>
#include <memory>
#include <utility>

namespace vantrell {

const QString PortfolioCSVWriter::failureMessage =
    QStringLiteral("导出失败，请选择可写入的位置后重试。");

namespace {

// The whole second the point falls in, its fraction dropped: a point at 08:05:59.9996 is written
// as 08:05:59, never as the next second, before 1970 too. Taken from the stored seconds
// directly, because converting to milliseconds first rounds. Qt's ISO form writes "Z" for UTC.
QByteArray timestampText(const Date& timestamp)
{
    const double whole = std::floor(timestamp.secondsSinceReferenceDate);
    // Far outside any real timestamp (and outside qint64) means there is no time to write.
    constexpr double limit = 1e14;
    if (!std::isfinite(whole) || std::abs(whole) > limit) {
        return {};
    }
    const qint64 unixSeconds = static_cast<qint64>(whole) + static_cast<qint64>(Date::unixOffset);
    return QDateTime::fromSecsSinceEpoch(unixSeconds, Qt::UTC).toString(Qt::ISODate).toLatin1();
}

}  // namespace

QByteArray PortfolioCSVWriter::text(const std::vector<PortfolioValuePoint>& points)
{
    QByteArray text("timestamp,total_value_usd\n");
    text.reserve(text.size() + static_cast<qsizetype>(points.size()) * 40);
    for (size_t i = 0; i < points.size(); ++i) {
        if (i > 0) {
            text += '\n';
        }
        const std::string value = points[i].totalValue.toString();
        text += timestampText(points[i].timestamp);
        text += ',';
        text.append(value.data(), static_cast<qsizetype>(value.size()));
    }
    text += '\n';
    return text;
}

QString PortfolioCSVWriter::defaultFileName(Date now)
{
    const QDate day = now.toDateTime().toUTC().date();
    return u"Vantrell-" + day.toString(Qt::ISODate) + u".csv";
}

void PortfolioCSVWriter::write(std::vector<PortfolioValuePoint> points, const QString& path,
                               PortfolioDiskWriter& writer, QObject* context,
                               std::function<void(bool succeeded)> done)
{
    auto kept = std::make_shared<const std::vector<PortfolioValuePoint>>(std::move(points));
    writer.run([kept, path] { return writeNow(*kept, path); }, context,
               [done = std::move(done)](PortfolioDiskWriter::Outcome outcome) {
                   if (done) {
                       done(outcome == PortfolioDiskWriter::Outcome::written);
                   }
               });
}

bool PortfolioCSVWriter::writeNow(const std::vector<PortfolioValuePoint>& points,
                                  const QString& path)
{
    const QByteArray data = text(points);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        return false;
    }
    return file.commit();
}

}  // namespace vantrell
