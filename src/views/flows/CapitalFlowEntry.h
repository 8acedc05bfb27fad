#pragma once

#include "models/CapitalFlow.h"
#include "models/Decimal.h"

#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTimeZone>

#include <optional>
#include <vector>

namespace vantrell {

// The rules of the capital-flow sheet: what counts as an amount, how a record is signed and
// listed, and the texts.
namespace CapitalFlowEntry {

inline constexpr QStringView sheetTitle = u"外部资金流水";
inline constexpr QStringView explanation =
    u"仅记录进入或离开本工具统计范围的资金。已跟踪交易所之间划转不要重复记录。此处为手动记录，不会"
    u"执行转账。";
inline constexpr QStringView kindLabel = u"类型";
inline constexpr QStringView depositLabel = u"充入";
inline constexpr QStringView withdrawalLabel = u"提出";
inline constexpr QStringView amountPlaceholder = u"金额（USD）";
inline constexpr QStringView dateLabel = u"发生时间";
inline constexpr QStringView addButton = u"添加记录";
inline constexpr QStringView doneButton = u"完成";
inline constexpr QStringView removeQuestion = u"移除这条手动记录？";
inline constexpr QStringView removeButton = u"移除";
inline constexpr QStringView tooLargeMessage = u"金额过大，单笔最多 1000 万亿 USD。";

// The typed amount in US dollars when it is valid: the whole text, untrimmed, is a plain
// decimal number with "." as separator whatever the locale ("12,5" and "12abc" are not), and
// it is above zero and no larger than the store records. Read exactly, never through a double.
std::optional<Decimal> parseAmount(const QString& text);
// Whether the text reads as a number above the largest amount the store records: the one
// invalid amount the sheet explains, since nothing else about it looks wrong.
bool isTooLarge(const QString& text);

// What the store records: the amount for a deposit, its negation for a withdrawal.
Decimal signedAmount(const Decimal& amount, bool isDeposit);

// The records newest first (the store keeps them oldest first).
std::vector<CapitalFlow> newestFirst(const std::vector<CapitalFlow>& flows);

// "充入 $1000" above zero, otherwise "提出 $250.5": the magnitude as plain decimal text.
QString amountText(const CapitalFlow& flow);
// The record's time: abbreviated month, day, hour and minute in the locale.
QString dateText(const CapitalFlow& flow, const QLocale& locale, const QTimeZone& timeZone);

}  // namespace CapitalFlowEntry

}  // namespace vantrell
