#include "CTesselFile.h"

#include "DocumentMarkers.h"
#include "DocumentReader.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessel_markers;

namespace {

std::string OneLine(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return out;
}

} // namespace

// Writes through a buffer to a file, or, without a file (fd -1), keeps the whole text.
class CFileWriter {
public:
    explicit CFileWriter(int fd) : m_fd(fd) {}

    void Write(std::string_view text) {
        m_buffer.append(text);
        if (m_fd >= 0 && m_buffer.size() >= 65536)
            Flush();
    }
    void Line(std::string_view text) {
        Write(text);
        Write("\r\n");
    }
    void Flush() {
        std::size_t done = 0;
        while (done < m_buffer.size()) {
            const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw CTesselWriteError(std::string("write error: ") + std::strerror(errno));
            }
            done += static_cast<std::size_t>(n);
        }
        m_buffer.clear();
    }
    std::string Take() { return std::move(m_buffer); }

private:
    int m_fd;
    std::string m_buffer;
};

namespace {

// Removes the temporary file unless it was renamed over the target.
struct CTempFile {
    std::string path;
    int fd = -1;
    bool keep = false;
    ~CTempFile() {
        if (fd >= 0)
            ::close(fd);
        if (!keep && !path.empty())
            ::unlink(path.c_str());
    }
};

bool CreateTemp(const std::string& target, CTempFile& temp) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = folder + "." + base + "." + std::to_string(::getpid()) + "." +
                                 std::to_string(counter++) + ".tmp";
        // 0666 so the umask decides the mode, as for a file created in place.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temp.path = name;
            temp.fd = fd;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

} // namespace

// ---- CTesselFile ----

bool CTesselFile::Load(const std::string& path) {
    return LoadFile(path).file.Ok();
}

std::string CLoadResult::DescribeDamage() const {
    std::string text;
    for (const std::string& problem : damage)
        text.append(text.empty() ? "" : "; ").append(problem);
    return text;
}

CLoadResult CTesselFile::LoadFile(const std::string& path) {
    CLoadResult result;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        result.file = FileResult::FromErrno(FileResult::Stage::Open, path, EISDIR);
        return result;
    }
    errno = 0;
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        result.file = FileResult::FromErrno(FileResult::Stage::Open, path, errno);
        return result;
    }
    result.damage = ReadTesselParts(in, m_descriptions, m_parameters, m_resources, m_segments);
    return result;
}

bool CTesselFile::Save(const std::string& path) const {
    const FileResult result = SaveFile(path);
    if (result.failed == FileResult::Stage::Write)
        throw CTesselWriteError(result.reason);
    return result.Ok();
}

void CTesselFile::WriteParts(CFileWriter& out) const {
    out.Line(kDescriptionBegin);
    m_descriptions.ForEach([&out](const std::string& key, const std::string& value) {
        out.Line(OneLine(key) + " = " + OneLine(value));
    });
    out.Line(kDescriptionEnd);
    out.Line("");

    out.Line(kParameterBegin);
    m_parameters.ForEach([&out](const std::string& name, const std::string& value) {
        out.Write(name);
        out.Write(" = ");
        out.Line(value);
    });
    out.Line(kParameterEnd);
    out.Line("");

    out.Line(kResourceBegin);
    out.Line("Resource Number = " + std::to_string(m_resources.size()));
    for (const ResourceEntry& entry : m_resources)
        out.Line(entry.name + "=" + entry.localPath + "=" + entry.webPath);
    out.Line(kResourceEnd);
    out.Line("");

    out.Line(kHtmlBegin);
    out.Line("Segment Number = " + std::to_string(m_segments.size()));
    for (const HtmlSegment& segment : m_segments) {
        out.Line("Segment Position = " + segment.position);
        out.Write(segment.body);
        out.Line(kSegmentEnd);
    }
    out.Line(kHtmlEnd);
    out.Line("");
}

std::string CTesselFile::ToText() const {
    CFileWriter out(-1);
    WriteParts(out);
    return out.Take();
}

FileResult CTesselFile::SaveFile(const std::string& path) const {
    using Stage = FileResult::Stage;
    if (path.empty() || path.back() == '/')
        return FileResult::FromErrno(Stage::Open, path, EISDIR);
    // Replace the file a link points at, not the link.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const bool exists = ::stat(target.c_str(), &st) == 0;
    // Whatever would stop the file being written in place also stops the save here.
    if (exists && S_ISDIR(st.st_mode))
        return FileResult::FromErrno(Stage::Open, path, EISDIR);
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return FileResult::FromErrno(Stage::Open, path, errno);

    CTempFile temp;
    if (!CreateTemp(target, temp))
        return FileResult::FromErrno(Stage::Open, path, errno);
    if (exists)
        ::fchmod(temp.fd, st.st_mode & 07777);
    try {
        CFileWriter out(temp.fd);
        WriteParts(out);
        out.Flush();
    } catch (const CTesselWriteError& error) {
        return FileResult::Failure(Stage::Write, path, error.what());
    }
    if (::fsync(temp.fd) != 0 && errno != EINVAL)
        return FileResult::Failure(Stage::Write, path,
                                   std::string("write error: ") + std::strerror(errno));
    const int fd = temp.fd;
    temp.fd = -1;
    if (::close(fd) != 0)
        return FileResult::Failure(Stage::Write, path,
                                   std::string("write error: ") + std::strerror(errno));
    if (::rename(temp.path.c_str(), target.c_str()) != 0)
        return FileResult::Failure(Stage::Write, path,
                                   std::string("cannot replace the file: ") + std::strerror(errno));
    temp.keep = true;
    return FileResult();
}

std::string CTesselFile::GetDescription(const std::string& key) {
    if (const std::string* value = m_descriptions.Find(key))
        return *value;
    m_descriptions.Set(key, std::string());
    return std::string();
}

bool CTesselFile::SetDescription(const std::string& key, const std::string& value) {
    m_descriptions.Set(key, value);
    return true;
}

bool CTesselFile::SetParameter(const std::string& name, const std::string& value) {
    try {
        m_parameters.Set(name, value);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::string CTesselFile::GetParameter(const std::string& name,
                                      const std::string& defaultValue) const {
    const std::string* value = m_parameters.Find(name);
    return value ? *value : defaultValue;
}

bool CTesselFile::SetParameters(std::vector<std::pair<std::string, std::string>> pairs) {
    try {
        m_parameters.SetAll(std::move(pairs));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CTesselFile::ClearParameters() {
    m_parameters.Clear();
    return true;
}

bool CTesselFile::AddResource(const std::string& name, const std::string& localPath,
                              const std::string& webPath) {
    if (m_resources.size() >= kMaxListEntries)
        return false;
    try {
        m_resources.push_back(ResourceEntry{name, localPath, webPath});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CTesselFile::ClearResources() {
    m_resources.clear();
    return true;
}

std::uint16_t CTesselFile::GetResourceCount() const {
    return static_cast<std::uint16_t>(m_resources.size());
}

namespace {
const std::string& Field(const ResourceEntry& entry, ResourceField field) {
    switch (field) {
    case ResourceField::Name:
        return entry.name;
    case ResourceField::LocalPath:
        return entry.localPath;
    case ResourceField::WebPath:
        break;
    }
    return entry.webPath;
}
} // namespace

std::string CTesselFile::GetResourceField(int index, ResourceField field) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_resources.size())
        return std::string();
    return Field(m_resources[static_cast<std::size_t>(index)], field);
}

std::string CTesselFile::GetResourceFieldByName(const std::string& name,
                                                ResourceField field) const {
    for (const ResourceEntry& entry : m_resources) {
        if (entry.name == name)
            return Field(entry, field);
    }
    return std::string();
}

bool CTesselFile::SetAllResourceLocalPaths(const std::string& path) {
    for (ResourceEntry& entry : m_resources)
        entry.localPath = path;
    return true;
}

int CTesselFile::AddSegment(const std::string& position, const std::string& body) {
    if (m_segments.size() >= kMaxListEntries)
        return -1;
    m_segments.push_back(HtmlSegment{position, body});
    return static_cast<int>(m_segments.size() - 1);
}

bool CTesselFile::ClearSegments() {
    m_segments.clear();
    return true;
}

std::uint16_t CTesselFile::GetSegmentCount() const {
    return static_cast<std::uint16_t>(m_segments.size());
}
