#include "PortfolioFilesTarget.h"

#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "files/CachedPortfolioSnapshot.h"
#include "files/PortfolioFiles.h"
#include "files/PortfolioHistory.h"
#include "models/JsonError.h"
#include "models/JsonReader.h"
#include "models/JsonWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <exception>
#include <optional>

namespace vantrell::fuzz {

namespace {

// A fixed "now", so which history points are old enough to drop never depends on the day.
class FixedClock final : public Clock {
public:
    Date now() const override { return Date{800'000'000}; }
};

const QDir& dataFolder()
{
    static QTemporaryDir temporary;
    static const QDir folder(temporary.path());
    check(temporary.isValid(), "no temporary folder");
    return folder;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size(),
          "cannot write the input file");
}

// Archives made of unusable histories pile up otherwise.
void emptyFolder(QDir folder)
{
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        folder.remove(name);
    }
}

std::optional<JsonValue> parsed(const QByteArray& data)
{
    try {
        return JsonReader::parse(data);
    } catch (const JsonDecodeError&) {
        return std::nullopt;
    }
}

// A record decoded from `json` must be written and read back unchanged. Decoding may only fail
// with JsonDecodeError.
template <typename Record>
void checkCoding(const JsonValue& json)
{
    std::optional<Record> record;
    try {
        record = Record::fromJson(json);
    } catch (const JsonDecodeError&) {
        return;
    } catch (const std::exception& error) {
        fail("decoding a record threw something else than JsonDecodeError", error.what());
    }
    QByteArray written;
    try {
        written = JsonWriter::write(record->toJson());
    } catch (const std::exception& error) {
        fail("a decoded record cannot be written", error.what());
    }
    std::optional<Record> reread;
    try {
        reread = Record::fromJson(JsonReader::parse(written));
    } catch (const std::exception& error) {
        fail("a written record does not read back", error.what());
    }
    check(*reread == *record, "a written record reads back different");
}

void checkHistory(const PortfolioHistory& history)
{
    const Date oldest = FixedClock().now().addingSeconds(-PortfolioFiles::historyRetention);
    check(std::is_sorted(history.points.begin(), history.points.end(),
                         [](const auto& a, const auto& b) { return a.timestamp < b.timestamp; }),
          "a loaded history is not in time order");
    // Old points are dropped, unless every point is old: then the clock may be the one that is
    // wrong, and all of them are kept for the next recording to set aside.
    const auto isOld = [oldest](const auto& point) { return point.timestamp < oldest; };
    check(std::none_of(history.points.begin(), history.points.end(), isOld)
              || std::all_of(history.points.begin(), history.points.end(), isOld),
          "a loaded history keeps points beyond its retention");
}

}  // namespace

PortfolioFilesRun runPortfolioFiles(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QDir& folder = dataFolder();
    static const FixedClock clock;
    const PortfolioFiles files(SupportFolder(folder.path()), nullptr, clock);
    const QString identity =
        QString::fromLatin1(historyIdentity.data(), static_cast<qsizetype>(historyIdentity.size()));
    writeFile(files.cachePath(), bytes);
    writeFile(files.historyPath(identity), bytes);

    PortfolioFilesRun run;
    run.cacheLoaded = files.loadCachedSnapshot().has_value();
    const std::optional<PortfolioHistory> history = files.loadValueHistory(identity);
    run.historyLoaded = history.has_value();
    if (history) {
        check(history->identity == identity, "a history of another identity was loaded");
        checkHistory(*history);
    }
    emptyFolder(folder);

    if (const std::optional<JsonValue> json = parsed(bytes)) {
        checkCoding<CachedPortfolioSnapshot>(*json);
        checkCoding<PortfolioSnapshot>(*json);
        checkCoding<PortfolioHistory>(*json);
    }
    return run;
}

void fuzzPortfolioFiles(const std::uint8_t* data, std::size_t size)
{
    runPortfolioFiles(data, size);
}

}  // namespace vantrell::fuzz
