#pragma once

#include "files/PortfolioValuePoint.h"
#include "models/Date.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace vantrell {

class PortfolioDiskWriter;

// The value history as a CSV file: the header "timestamp,total_value_usd", then one line per
// point with its time in UTC (whole seconds, ISO 8601) and its exact value in US dollars,
// every line ending in a line feed, UTF-8 without byte-order mark.
class PortfolioCSVWriter {
public:
    static const QString failureMessage;  // what the user sees when the export fails

    // The whole file. An empty history gives the header line followed by an empty line.
    static QByteArray text(const std::vector<PortfolioValuePoint>& points);
    // "Vantrell-2026-03-01.csv": the date of `now` in UTC, whatever the local date is.
    static QString defaultFileName(Date now);

    // Builds the text and replaces the file at `path` atomically, on the disk writer's thread;
    // `done` runs on the main thread while `context` lives.
    static void write(std::vector<PortfolioValuePoint> points, const QString& path,
                      PortfolioDiskWriter& writer, QObject* context,
                      std::function<void(bool succeeded)> done);
    // The same, blocking the calling thread. Never call it on the main thread.
    static bool writeNow(const std::vector<PortfolioValuePoint>& points, const QString& path);
};

}  // namespace vantrell
