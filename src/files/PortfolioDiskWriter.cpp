#include "files/PortfolioDiskWriter.h"

#include "platform/SupportFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <exception>
#include <future>
#include <utility>

namespace vantrell {

namespace {

constexpr QFile::Permissions ownerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;

// Any exception of an encoder is a failed write, never the end of the writer's thread.
bool encode(const PortfolioDiskWriter::Encoder& encoder, QByteArray& data)
{
    try {
        data = encoder();
        return true;
    } catch (...) {
        return false;
    }
}

bool writeAll(QIODevice& file, const QByteArray& data)
{
    return file.write(data) == data.size();
}

}  // namespace

PortfolioDiskWriter::PortfolioDiskWriter(QObject* parent) : PortfolioDiskWriter(writeAll, parent) {}

PortfolioDiskWriter::PortfolioDiskWriter(ContentWriter writeContents, QObject* parent)
    : QObject(parent), m_writeContents(std::move(writeContents))
{
    m_thread.reset(QThread::create([this] { runLoop(); }));
    m_thread->setObjectName(QStringLiteral("PortfolioDiskWriter"));
    m_thread->start();
}

PortfolioDiskWriter::~PortfolioDiskWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread->wait();
}

PortfolioDiskWriter& PortfolioDiskWriter::shared()
{
    static PortfolioDiskWriter writer;
    return writer;
}

void PortfolioDiskWriter::save(Encoder encode, const QString& path, quint64 revision,
                               QObject* context, Completion done)
{
    post({std::move(encode), path, revision, {}}, context, std::move(done));
}

void PortfolioDiskWriter::saveArchive(Encoder encode, const QString& path,
                                      const QString& protectedPath, quint64 revision,
                                      QObject* context, Completion done)
{
    post({std::move(encode), path, revision, protectedPath}, context, std::move(done));
}

void PortfolioDiskWriter::run(Task task, QObject* context, Completion done)
{
    auto reply = std::make_shared<Reply>(Reply{context, std::move(done)});
    enqueue([this, task = std::move(task), reply] {
        bool succeeded = false;
        try {
            succeeded = task();
        } catch (...) {
            succeeded = false;
        }
        report(reply, succeeded ? Outcome::written : Outcome::failed);
    });
}

void PortfolioDiskWriter::flush()
{
    std::promise<void> finished;
    std::future<void> waited = finished.get_future();
    enqueue([&finished] { finished.set_value(); });
    waited.wait();
}

bool PortfolioDiskWriter::flush(std::chrono::milliseconds timeout)
{
    // Shared with the job: it may run after this call has given up and returned.
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> waited = finished->get_future();
    enqueue([finished] { finished->set_value(); });
    return waited.wait_for(timeout) == std::future_status::ready;
}

void PortfolioDiskWriter::post(Request request, QObject* context, Completion done)
{
    // The reply (and its QPointer) is made here, on the caller's thread.
    auto reply = std::make_shared<Reply>(Reply{context, std::move(done)});
    enqueue([this, request = std::move(request), reply] { report(reply, perform(request)); });
}

void PortfolioDiskWriter::enqueue(std::function<void()> job)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

// One job at a time, first in first out; on stop, what was asked for before is still done.
void PortfolioDiskWriter::runLoop()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_jobs.empty() || m_stopping; });
            if (m_jobs.empty()) {
                return;
            }
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

// Queued to this object, which lives on the caller's thread; the context is checked there.
void PortfolioDiskWriter::report(const std::shared_ptr<Reply>& reply, Outcome outcome)
{
    if (!reply->done) {
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [reply, outcome] {
            if (reply->context) {
                reply->done(outcome);
            }
        },
        Qt::QueuedConnection);
}

PortfolioDiskWriter::Outcome PortfolioDiskWriter::perform(const Request& request)
{
    const auto last = m_revisions.find(request.path);
    if (last != m_revisions.end() && request.revision < last->second) {
        return Outcome::skipped;
    }
    if (!writeArchivesProtecting(request.path)) {
        return Outcome::failed;
    }
    if (!replaceFile(request)) {
        if (!request.protectedPath.isEmpty()) {
            m_pendingArchives[request.protectedPath].push_back(request);
        }
        return Outcome::failed;
    }
    m_revisions.insert_or_assign(request.path, request.revision);
    return Outcome::written;
}

// Retries, oldest first, the archives that have to exist before `path` may be replaced.
bool PortfolioDiskWriter::writeArchivesProtecting(const QString& path)
{
    const auto pending = m_pendingArchives.find(path);
    if (pending == m_pendingArchives.end()) {
        return true;
    }
    std::vector<Request>& archives = pending->second;
    while (!archives.empty()) {
        const Request& archive = archives.front();
        if (!replaceFile(archive)) {
            return false;
        }
        m_revisions.insert_or_assign(archive.path, archive.revision);
        archives.erase(archives.begin());
    }
    m_pendingArchives.erase(pending);
    return true;
}

bool PortfolioDiskWriter::replaceFile(const Request& request)
{
    if (!SupportFolder::createPath(QFileInfo(request.path).absolutePath())) {
        return false;
    }
    QByteArray data;
    if (!encode(request.encode, data)) {
        return false;
    }
    QSaveFile file(request.path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // The temporary file becomes owner-only before its first byte; the rename keeps its mode,
    // so a new file is never readable by others, not even for a moment.
    if (!file.setPermissions(ownerOnlyFile) || !m_writeContents(file, data)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        return false;
    }
    // Checked once more on the final file; a failure here leaves the file but no revision.
    return QFile::setPermissions(request.path, ownerOnlyFile);
}

}  // namespace vantrell
