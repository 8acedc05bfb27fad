#include "window/MainSection.h"

namespace vantrell {

namespace {

struct SectionInfo {
    MainSection section;
    const char16_t* raw;
    const char16_t* label;
    const char16_t* icon;
};

constexpr SectionInfo sectionTable[] = {
    {MainSection::overview, u"overview", u"总览", u"house"},
    {MainSection::binance, u"binance", u"Binance", u"diamond.fill"},
    {MainSection::okx, u"okx", u"OKX", u"square.grid.3x3.fill"},
    {MainSection::bybit, u"bybit", u"Bybit", u"b.circle.fill"},
    {MainSection::bitget, u"bitget", u"Bitget", u"b.square.fill"},
    {MainSection::gateio, u"gateio", u"Gate.io", u"g.circle.fill"},
    {MainSection::exchangeManagement, u"exchangeManagement", u"交易所管理", u"link"},
    {MainSection::positions, u"positions", u"合约持仓", u"briefcase"},
    {MainSection::assets, u"assets", u"资产明细", u"list.bullet.rectangle"},
    {MainSection::analytics, u"analytics", u"收益分析", u"chart.bar.xaxis"},
    {MainSection::settings, u"settings", u"设置", u"gearshape"},
};

const SectionInfo& infoOf(MainSection section)
{
    return sectionTable[static_cast<int>(section)];
}

constexpr std::pair<MainSection, Exchange> exchangeSections[] = {
    {MainSection::binance, Exchange::binance}, {MainSection::okx, Exchange::okx},
    {MainSection::bybit, Exchange::bybit},     {MainSection::bitget, Exchange::bitget},
    {MainSection::gateio, Exchange::gateio},
};

}  // namespace

QString rawValue(MainSection section)
{
    return QString::fromUtf16(infoOf(section).raw);
}

std::optional<MainSection> mainSectionFromRaw(const QString& raw)
{
    for (const SectionInfo& info : sectionTable) {
        if (raw == QString::fromUtf16(info.raw)) {
            return info.section;
        }
    }
    return std::nullopt;
}

QString sidebarLabel(MainSection section)
{
    return QString::fromUtf16(infoOf(section).label);
}

QString sidebarIcon(MainSection section)
{
    return QString::fromUtf16(infoOf(section).icon);
}

std::optional<Exchange> exchangeOf(MainSection section)
{
    for (const auto& [candidate, exchange] : exchangeSections) {
        if (candidate == section) {
            return exchange;
        }
    }
    return std::nullopt;
}

MainSection sectionOf(Exchange exchange)
{
    for (const auto& [section, candidate] : exchangeSections) {
        if (candidate == exchange) {
            return section;
        }
    }
    return MainSection::overview;
}

}  // namespace vantrell
