#include "support/ManualClock.h"

namespace vantrell {

ManualClock::ManualClock(Date start) : m_now(start) {}

Date ManualClock::now() const
{
    return m_now;
}

void ManualClock::set(Date date)
{
    m_now = date;
}

void ManualClock::advance(double seconds)
{
    m_now = m_now.addingSeconds(seconds);
}

}  // namespace vantrell
