#include "app/QuitSignalWatcher.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace vantrell {

namespace {

constexpr std::array watchedSignals{SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t writeEnd = -1;

extern "C" void forwardSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (writeEnd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    }
    errno = savedErrno;
}

bool installHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(signalNumber, &action, nullptr) == 0;
}

}  // namespace

QuitSignalWatcher::QuitSignalWatcher(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_pipe.data()) != 0) {
        return;
    }
    // A burst of signals must never block the handler.
    ::fcntl(m_pipe[0], F_SETFL, ::fcntl(m_pipe[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(m_pipe[1], F_SETFL, ::fcntl(m_pipe[1], F_GETFL) | O_NONBLOCK);
    writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignalWatcher::readSignal);
    m_active = true;
    for (int signalNumber : watchedSignals) {
        m_active = installHandler(signalNumber, forwardSignal) && m_active;
    }
}

QuitSignalWatcher::~QuitSignalWatcher()
{
    for (int signalNumber : watchedSignals) {
        installHandler(signalNumber, SIG_DFL);
    }
    writeEnd = -1;
    for (int end : m_pipe) {
        if (end >= 0) {
            ::close(end);
        }
    }
}

void QuitSignalWatcher::readSignal()
{
    unsigned char byte = 0;
    while (::read(m_pipe[0], &byte, 1) == 1) {
        Q_EMIT quitRequested(byte);
    }
}

}  // namespace vantrell
