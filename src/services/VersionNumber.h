#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <optional>
#include <vector>

namespace vantrell {

// A release version of dot-separated whole numbers ("1.10.2"), compared number by number with
// missing trailing numbers counting as 0: 1.10 is newer than 1.9 and 1.2 equals 1.2.0.
class VersionNumber {
public:
    // Longer version texts are refused: they only ever come from a misbehaving feed.
    static constexpr qsizetype maxLength = 32;

    // The version, or nothing unless the text is 1 to `maxLength` characters of ASCII digits
    // and single dots, starting and ending with a digit.
    static std::optional<VersionNumber> parse(QStringView text);

    friend std::strong_ordering operator<=>(const VersionNumber& a, const VersionNumber& b);
    friend bool operator==(const VersionNumber& a, const VersionNumber& b)
    {
        return (a <=> b) == std::strong_ordering::equal;
    }

private:
    // Each number as its digits without leading zeros ("" for 0), so numbers of any length
    // compare without overflow: by length first, then digit by digit.
    std::vector<QString> m_components;
};

}  // namespace vantrell
