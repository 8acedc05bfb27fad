#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace vantrell {

class PortfolioStore;

// Gives the memory a refresh cycle freed back to the system once the cycle is over, so the
// program rests between refreshes at the size of what it keeps. Waits `delay` after the cycle
// ends first, for the cycle's file writes and renders to finish and free theirs too.
class IdleMemoryRelease : public QObject {
    Q_OBJECT

public:
    using Release = std::function<void()>;

    // `release` defaults to releaseAll().
    IdleMemoryRelease(PortfolioStore& store, std::chrono::milliseconds delay, Release release = {},
                      QObject* parent = nullptr);

    // Frees this thread's JSON scanner (the replies are parsed here, and it keeps the size of
    // the largest), then releaseUnusedMemory().
    static void releaseAll();

private:
    void cycleStateChanged();

    PortfolioStore& m_store;
    Release m_release;
    QTimer m_timer;
};

}  // namespace vantrell
