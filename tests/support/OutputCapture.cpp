#include "support/OutputCapture.h"

#include <gtest/gtest.h>

#include <iostream>
#include <mutex>

#include <unistd.h>

namespace vantrell {

namespace {

// Qt's handler is a plain function and messages may come from any thread.
std::mutex recordMutex;
QStringList* recorded = nullptr;

void recordMessage(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    const std::lock_guard lock(recordMutex);
    if (recorded != nullptr) {
        const char* category = context.category != nullptr ? context.category : "";
        recorded->append(QString::fromUtf8(category) + u": " + message);
    }
}

void flushStreams()
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
}

}  // namespace

OutputCapture::OutputCapture()
{
    m_file = std::tmpfile();
    if (m_file == nullptr) {
        ADD_FAILURE() << "OutputCapture: no temporary file";
        return;
    }
    flushStreams();
    m_savedOut = ::dup(STDOUT_FILENO);
    m_savedErr = ::dup(STDERR_FILENO);
    const int target = ::fileno(m_file);
    if (m_savedOut < 0 || m_savedErr < 0 || ::dup2(target, STDOUT_FILENO) < 0 ||
        ::dup2(target, STDERR_FILENO) < 0) {
        ADD_FAILURE() << "OutputCapture: cannot redirect the output";
    }
    {
        const std::lock_guard lock(recordMutex);
        recorded = &m_messages;
    }
    m_previousHandler = qInstallMessageHandler(recordMessage);
    m_active = true;
}

OutputCapture::~OutputCapture()
{
    restore();
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

void OutputCapture::restore()
{
    if (!m_active) {
        return;
    }
    m_active = false;
    qInstallMessageHandler(m_previousHandler);
    {
        const std::lock_guard lock(recordMutex);
        recorded = nullptr;
    }
    flushStreams();
    if (m_savedOut >= 0) {
        ::dup2(m_savedOut, STDOUT_FILENO);
        ::close(m_savedOut);
    }
    if (m_savedErr >= 0) {
        ::dup2(m_savedErr, STDERR_FILENO);
        ::close(m_savedErr);
    }
}

OutputCapture::Captured OutputCapture::finish()
{
    restore();
    Captured captured;
    captured.messages = m_messages;
    if (m_file == nullptr) {
        return captured;
    }
    // The descriptors shared the file's offset; read it from the start.
    const int fd = ::fileno(m_file);
    ::lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        captured.output.append(buffer, static_cast<qsizetype>(got));
    }
    return captured;
}

}  // namespace vantrell
