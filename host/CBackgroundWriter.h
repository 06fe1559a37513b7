// Writes and removes files on a thread of its own, one request after the other, so a slow disk
// never holds up the user interface. Each file is replaced whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace host {

class CBackgroundWriter {
public:
    CBackgroundWriter();
    // Finishes every request first.
    ~CBackgroundWriter();
    CBackgroundWriter(const CBackgroundWriter&) = delete;
    CBackgroundWriter& operator=(const CBackgroundWriter&) = delete;

    // Replaces path with bytes: a temporary file beside it, synced, renamed over it.
    void Write(const QString& path, const QByteArray& bytes);
    void Remove(const QString& path);
    // Returns once every request made so far is done.
    void Flush();

private:
    struct Request {
        QString path;
        QByteArray bytes;
        bool remove = false;
    };
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Request> m_requests;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace host
