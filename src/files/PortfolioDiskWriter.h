#pragma once

#include "models/JsonWriter.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class QIODevice;
class QThread;

namespace vantrell {

// Writes the program's data files one at a time, in the order they were asked for, on a thread
// of its own, so the main thread never waits for the disk.
//
// Each file keeps the revision of its last complete write: a request that carries a lower
// revision than that is dropped, so a record made earlier never replaces one made later even
// when the requests arrive out of order. A revision counts only once the file has been
// written, made owner-only, and renamed into place.
//
// Files are replaced atomically (QSaveFile) and are owner-only (0600) from their first byte;
// missing folders are made 0700. The outcome of each request comes back on the thread that
// owns this object (the main thread), and only while the caller's context object still lives.
//
// A history archive protects the file it was taken from: while the archive has not been
// written, no write replaces that file. The archive is kept and retried before each such write,
// so the old history cannot disappear before its archive exists.
class PortfolioDiskWriter : public QObject {
public:
    enum class Outcome { written, skipped, failed };
    using Encoder = std::function<QByteArray()>;  // may throw; runs on the writer's thread
    using Completion = std::function<void(Outcome)>;
    using Task = std::function<bool()>;  // true on success
    // Puts the encoded bytes into the open temporary file; true when all of them went in. The
    // default writes them in one go; tests hand in one that gives up part-way, as a full disk
    // does. Runs on the writer's thread.
    using ContentWriter = std::function<bool(QIODevice& file, const QByteArray& data)>;

    explicit PortfolioDiskWriter(QObject* parent = nullptr);
    explicit PortfolioDiskWriter(ContentWriter writeContents, QObject* parent = nullptr);
    // Carries out every request made before, then stops the thread. Outcomes that have not been
    // delivered by then are dropped.
    ~PortfolioDiskWriter() override;

    // The writer of the whole program, made on first use.
    static PortfolioDiskWriter& shared();

    // The encoder of a record with `toJson()`; the record is copied now, encoded later.
    template <typename T>
    static Encoder encoderOf(T record)
    {
        auto kept = std::make_shared<const T>(std::move(record));
        return [kept] { return JsonWriter::write(kept->toJson()); };
    }

    // Replaces the file at `path` with the encoded value, unless a higher revision has already
    // been written there; an equal revision is written again. `done` runs on this object's
    // thread while `context` lives; either may be null.
    void save(Encoder encode, const QString& path, quint64 revision, QObject* context,
              Completion done);
    // Writes the archive of the file at `protectedPath` to `path`. Until the archive has been
    // written, every save to `protectedPath` first retries it and fails when it fails again.
    void saveArchive(Encoder encode, const QString& path, const QString& protectedPath,
                     quint64 revision, QObject* context, Completion done);
    // Runs another file task in turn with the writes (used for the CSV export).
    void run(Task task, QObject* context, Completion done);

    // Blocks until every request made before has been carried out; their outcomes are then
    // waiting in this thread's event queue. For shutdown, tests and benchmarks only.
    void flush();
    // The same, but gives up after `timeout` (a disk that hangs must not keep the program from
    // ending); true when everything asked for before was carried out in time.
    bool flush(std::chrono::milliseconds timeout);

private:
    struct Request {
        Encoder encode;
        QString path;
        quint64 revision = 0;
        QString protectedPath;  // set for an archive
    };
    struct Reply {
        QPointer<QObject> context;
        Completion done;
    };

    void enqueue(std::function<void()> job);
    void runLoop();
    void report(const std::shared_ptr<Reply>& reply, Outcome outcome);
    void post(Request request, QObject* context, Completion done);

    // Worker thread only.
    Outcome perform(const Request& request);
    bool writeArchivesProtecting(const QString& path);
    bool replaceFile(const Request& request);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;  // guarded by m_mutex
    bool m_stopping = false;                   // guarded by m_mutex
    std::unique_ptr<QThread> m_thread;
    const ContentWriter m_writeContents;  // set before the thread starts, never changed

    // Touched only by the writer's thread.
    std::map<QString, quint64> m_revisions;
    std::map<QString, std::vector<Request>> m_pendingArchives;  // by protected path
};

}  // namespace vantrell
