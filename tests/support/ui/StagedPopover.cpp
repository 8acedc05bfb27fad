#include "support/ui/StagedPopover.h"

#include <QCoreApplication>

namespace vantrell::test {

StagedPopover::StagedPopover(bool canCheck)
    : m_feed(canCheck ? QUrl(QStringLiteral("https://updates.example.com/feed.json")) : QUrl())
{
}

StagedPopover::~StagedPopover()
{
    m_floating.reset();
    m_updates.reset();
}

FloatingWindowController& StagedPopover::floating()
{
    if (!m_floating) {
        m_floating = std::make_unique<FloatingWindowController>(holdings.defaults);
    }
    return *m_floating;
}

UpdateChecker& StagedPopover::updates()
{
    if (!m_updates) {
        m_updates = std::make_unique<UpdateChecker>(UpdaterEnvironment{
            holdings.transport, holdings.defaults, holdings.clock, m_driver, m_feed});
        QCoreApplication::processEvents();  // the checker's mirrors take their first values
    }
    return *m_updates;
}

}  // namespace vantrell::test
