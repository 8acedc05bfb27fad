#pragma once

#include <QObject>

#include <array>

class QSocketNotifier;

namespace vantrell {

// Turns SIGTERM (logging out, `kill`), SIGINT (Ctrl-C in a terminal) and SIGHUP (the terminal
// closed) into a signal on the event loop, so the program ends through its normal exit path
// and finishes its pending file writes instead of dying on the spot. The handler only writes
// the signal's number into a pipe (all a signal handler may safely do). One instance at a
// time; the default handlers return when it is destroyed.
class QuitSignalWatcher : public QObject {
    Q_OBJECT

public:
    explicit QuitSignalWatcher(QObject* parent = nullptr);
    ~QuitSignalWatcher() override;

    // False when the pipe or a handler could not be set up; the default handlers then stay.
    bool isActive() const { return m_active; }

Q_SIGNALS:
    void quitRequested(int signalNumber);

private:
    void readSignal();

    std::array<int, 2> m_pipe{-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    bool m_active = false;
};

}  // namespace vantrell
