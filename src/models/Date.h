#pragma once

#include <QDateTime>

#include <compare>

namespace vantrell {

// A point in time as seconds since 2001-01-01 00:00:00 UTC, the form the program's JSON files
// use. Kept as a double so sub-millisecond fractions survive a round trip and two stored
// timestamps compare exactly.
struct Date {
    static constexpr double unixOffset = 978307200.0;  // 2001-01-01 in Unix seconds

    double secondsSinceReferenceDate = 0;

    // A finite date before any real one (0001-01-01), for "never happened yet".
    static constexpr Date distantPast() { return Date{-63'114'076'800.0}; }

    static Date fromUnixSeconds(double seconds) { return Date{seconds - unixOffset}; }
    static Date fromDateTime(const QDateTime& dateTime);
    double unixSeconds() const { return secondsSinceReferenceDate + unixOffset; }
    QDateTime toDateTime() const;

    Date addingSeconds(double seconds) const { return Date{secondsSinceReferenceDate + seconds}; }
    // Seconds from `earlier` to this date (negative when this date comes first).
    double secondsSince(const Date& earlier) const
    {
        return secondsSinceReferenceDate - earlier.secondsSinceReferenceDate;
    }

    friend auto operator<=>(const Date&, const Date&) = default;
    friend bool operator==(const Date&, const Date&) = default;
};

}  // namespace vantrell
