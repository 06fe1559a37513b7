#include "CBackgroundWriter.h"

#include <QFile>
#include <QSaveFile>

namespace host {

CBackgroundWriter::CBackgroundWriter() : m_thread([this] { Run(); }) {}

CBackgroundWriter::~CBackgroundWriter() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void CBackgroundWriter::Write(const QString& path, const QByteArray& bytes) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(Request{path, bytes, false});
    }
    m_wake.notify_one();
}

void CBackgroundWriter::Remove(const QString& path) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(Request{path, QByteArray(), true});
    }
    m_wake.notify_one();
}

void CBackgroundWriter::Flush() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return m_requests.empty() && !m_busy; });
}

void CBackgroundWriter::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_requests.empty(); });
        if (m_requests.empty())
            return; // stopping, with nothing left to do
        Request request = std::move(m_requests.front());
        m_requests.pop_front();
        m_busy = true;
        lock.unlock();
        if (request.remove) {
            QFile::remove(request.path);
        } else {
            // A write that fails leaves the previous copy, which is still a copy of earlier work.
            QSaveFile file(request.path);
            if (file.open(QIODevice::WriteOnly) &&
                file.write(request.bytes) == request.bytes.size())
                file.commit();
        }
        lock.lock();
        m_busy = false;
        if (m_requests.empty())
            m_idle.notify_all();
    }
}

} // namespace host
