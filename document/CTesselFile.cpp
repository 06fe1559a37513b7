#include "CTesselFile.h"

#include "Text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kDescriptionBegin = "========== Description Part Begin ==========";
const char* const kDescriptionEnd = "========== Description Part End ==========";
const char* const kParameterBegin = "========== Parameter Part Begin ==========";
const char* const kParameterEnd = "========== Parameter Part End ==========";
const char* const kResourceBegin = "========== Resource Part Begin ==========";
const char* const kResourceEnd = "========== Resource Part End ==========";
const char* const kHtmlBegin = "========== HTML Part Begin ==========";
const char* const kHtmlEnd = "========== HTML Part End ==========";
const char* const kSegmentEnd = "===== Segment End =====";

using foldline::EqualsNoCase;

std::string Trim(std::string_view s) {
    return std::string(foldline::Trim(s));
}

// Counts read like atoi (sign, digits, anything after ignored; clamped to int) and then kept in
// 16 bits, so "-1" means 65535.
std::uint16_t ReadCount(const std::string& text) {
    return static_cast<std::uint16_t>(foldline::LeadingInt(text));
}

// A line with "=" split at the first one; false when there is none.
bool SplitKeyValue(std::string_view line, std::string& key, std::string& value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key.assign(foldline::Trim(line.substr(0, eq)));
    value.assign(foldline::Trim(line.substr(eq + 1)));
    return true;
}

bool IsBlank(std::string_view line) {
    return foldline::Trim(line).empty();
}

bool IsMarker(std::string_view line) {
    for (const char* marker : {kDescriptionBegin, kDescriptionEnd, kParameterBegin, kParameterEnd,
                               kResourceBegin, kResourceEnd, kHtmlBegin, kHtmlEnd})
        if (EqualsNoCase(line, marker))
            return true;
    return false;
}

class CLineReader {
public:
    explicit CLineReader(std::ifstream& in) : m_in(in) {}

    bool Next(std::string& line) {
        if (!std::getline(m_in, line)) {
            if (m_in.bad())
                throw std::runtime_error("read error");
            return false;
        }
        // Only a CR that came before the LF belongs to the line end.
        if (!m_in.eof() && !line.empty() && line.back() == '\r')
            line.pop_back();
        return true;
    }

    // Lines passed over without being read: a whole file has none but blank ones.
    void Skipped(std::string_view line) {
        if (m_counting && !IsBlank(line))
            ++m_skipped;
    }
    // Lines before the first part are a preamble, not damage.
    void StartCounting() { m_counting = true; }
    int SkippedLines() const { return m_skipped; }

    bool SkipPast(const char* marker) {
        std::string line;
        while (Next(line)) {
            if (EqualsNoCase(line, marker))
                return true;
            Skipped(line);
        }
        return false;
    }

    // Reads the next line with "=" whose key is keyName; false at the end of the file.
    bool FindKey(const char* keyName, std::string& value) {
        std::string line;
        std::string key;
        while (Next(line)) {
            if (SplitKeyValue(line, key, value) && EqualsNoCase(key, keyName))
                return true;
            Skipped(line);
        }
        return false;
    }

private:
    std::ifstream& m_in;
    bool m_counting = false;
    int m_skipped = 0;
};

// Reads "key = value" lines into the map until the end marker; false at the end of the file.
bool ReadMapPart(CLineReader& reader, const char* end, CTesselMap& map) {
    std::string line;
    std::string key;
    std::string value;
    std::vector<std::pair<std::string, std::string>> pairs;
    bool ended = false;
    try {
        while (!ended && reader.Next(line)) {
            ended = EqualsNoCase(line, end);
            if (!ended && SplitKeyValue(line, key, value))
                pairs.emplace_back(std::move(key), std::move(value));
            else if (!ended)
                reader.Skipped(line);
        }
    } catch (const std::runtime_error&) {
        map.SetAll(std::move(pairs)); // what was read before the error, as line by line
        throw;
    }
    map.SetAll(std::move(pairs));
    return ended;
}

// One Load: the reader's steps, each noting what it found missing. Every step continues from
// where the previous one stopped; the end of the file ends every step at once.
class CDocumentReader {
public:
    // Parts in file order; the reader stops at the first one it cannot finish.
    enum Part { Description, Parameter, Resource, Html, PartCount };

    CDocumentReader(std::ifstream& in, CTesselMap& descriptions, CTesselMap& parameters,
                    std::vector<ResourceEntry>& resources, std::vector<HtmlSegment>& segments)
        : m_reader(in), m_descriptions(descriptions), m_parameters(parameters),
          m_resources(resources), m_segments(segments) {}

    std::vector<std::string> Read() {
        const bool whole =
            ReadMap(Description, kDescriptionBegin, kDescriptionEnd, m_descriptions) &&
            ReadMap(Parameter, kParameterBegin, kParameterEnd, m_parameters) && ReadResources() &&
            ReadSegments();
        if (!whole)
            NoteMissingParts();
        if (const int skipped = m_reader.SkippedLines(); skipped > 0)
            m_damage.push_back(std::to_string(skipped) + (skipped == 1
                                                              ? " line could not be read"
                                                              : " lines could not be read"));
        return std::move(m_damage);
    }

private:
    bool Begin(Part part, const char* marker) {
        m_part = part;
        const bool found = m_reader.SkipPast(marker);
        m_reader.StartCounting();
        if (!found)
            m_damage.push_back(std::string("the ") + kPartNames[part] + " part is missing");
        return found;
    }
    bool End(const char* marker) {
        if (m_reader.SkipPast(marker))
            return true;
        m_damage.push_back(std::string("the ") + kPartNames[m_part] + " part has no end marker");
        return false;
    }
    bool Count(const char* key, std::uint16_t& count) {
        std::string value;
        if (!m_reader.FindKey(key, value)) {
            m_damage.push_back(std::string("the ") + kPartNames[m_part] + " part has no count");
            return false;
        }
        count = ReadCount(value);
        return true;
    }
    bool Short(const char* what, std::size_t read, std::size_t count) {
        m_damage.push_back(std::string("the ") + kPartNames[m_part] + " part holds " +
                           std::to_string(read) + " of its " + std::to_string(count) + " " + what);
        return false;
    }
    // The parts after the one the reader stopped in were never reached.
    void NoteMissingParts() {
        for (int part = m_part + 1; part < PartCount; ++part)
            m_damage.push_back(std::string("the ") + kPartNames[part] + " part is missing");
    }

    bool ReadMap(Part part, const char* begin, const char* end, CTesselMap& map);
    bool ReadResources();
    bool ReadResourceEntry(const std::string& line, ResourceEntry& entry);
    bool ReadSegments();
    bool ReadSegmentBody(HtmlSegment& segment, std::size_t index);

    static constexpr const char* kPartNames[PartCount] = {"Description", "Parameter", "Resource",
                                                          "HTML"};

    CLineReader m_reader;
    CTesselMap& m_descriptions;
    CTesselMap& m_parameters;
    std::vector<ResourceEntry>& m_resources;
    std::vector<HtmlSegment>& m_segments;
    Part m_part = Description;
    std::vector<std::string> m_damage;
};

bool CDocumentReader::ReadMap(Part part, const char* begin, const char* end, CTesselMap& map) {
    if (!Begin(part, begin))
        return false;
    if (ReadMapPart(m_reader, end, map))
        return true;
    m_damage.push_back(std::string("the ") + kPartNames[m_part] + " part has no end marker");
    return false;
}

// True when the line was an entry line; a marker taken as an entry means entries are missing.
bool CDocumentReader::ReadResourceEntry(const std::string& line, ResourceEntry& entry) {
    const std::size_t first = line.find('=');
    const std::size_t last = line.rfind('=');
    entry.name = Trim(line.substr(0, first));
    if (first == last) {
        entry.localPath = Trim(line.substr(first + 1));
        entry.webPath.clear();
    } else {
        entry.localPath = Trim(line.substr(first + 1, last - first - 1));
        entry.webPath = Trim(line.substr(last + 1));
    }
    return !IsMarker(line);
}

bool CDocumentReader::ReadResources() {
    std::uint16_t count = 0;
    if (!Begin(Resource, kResourceBegin) || !Count("Resource Number", count))
        return false;
    if (count != 0)
        m_resources.resize(count);
    std::size_t entries = count; // the entry lines that were real entries
    std::string line;
    for (std::uint16_t i = 0; i < count;) {
        if (!m_reader.Next(line))
            return Short("entries", i, count);
        if (line.find('=') == std::string::npos) {
            m_reader.Skipped(line);
            continue;
        }
        if (!ReadResourceEntry(line, m_resources[i++]) && entries == count)
            entries = i - 1u;
    }
    if (entries != count)
        Short("entries", entries, count);
    return End(kResourceEnd);
}

bool CDocumentReader::ReadSegmentBody(HtmlSegment& segment, std::size_t index) {
    segment.body.clear();
    std::string line;
    for (;;) {
        if (!m_reader.Next(line)) {
            m_damage.push_back("segment " + std::to_string(index + 1) + " has no end line");
            return false;
        }
        if (EqualsNoCase(line, kSegmentEnd))
            return true;
        segment.body += line;
        segment.body += "\r\n";
    }
}

bool CDocumentReader::ReadSegments() {
    std::uint16_t count = 0;
    if (!Begin(Html, kHtmlBegin) || !Count("Segment Number", count))
        return false;
    if (count != 0)
        m_segments.resize(count);
    std::string value;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (!m_reader.FindKey("Segment Position", value))
            return Short("segments", i, count);
        m_segments[i].position = value;
        if (!ReadSegmentBody(m_segments[i], i))
            return false;
    }
    return End(kHtmlEnd);
}

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

// ---- CTesselMap ----

namespace {

constexpr std::size_t kMinSlots = 64;

std::uint32_t LookupHash(std::string_view key) {
    const std::size_t h = std::hash<std::string_view>{}(key);
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

} // namespace

unsigned CTesselMap::Bucket(std::string_view key) {
    std::uint32_t hash = 0;
    for (char c : key)
        hash = 33u * hash + static_cast<std::uint32_t>(static_cast<signed char>(c));
    return hash % kBuckets;
}

std::size_t CTesselMap::SlotFor(std::string_view key, std::uint32_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    while (m_slots[i].entry != 0 &&
           (m_slots[i].hash != hash || m_entries[m_slots[i].entry - 1].key != key))
        i = (i + 1) & mask;
    return i;
}

void CTesselMap::GrowIndex(std::size_t count) {
    std::vector<Slot> slots(count);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        std::size_t i = m_entries[e].hash & mask;
        while (slots[i].entry != 0)
            i = (i + 1) & mask;
        slots[i] = Slot{m_entries[e].hash, static_cast<std::uint32_t>(e + 1)};
    }
    m_slots.swap(slots);
}

void CTesselMap::MakeRoom(std::size_t count) {
    if (count >= UINT32_MAX - 1 - m_entries.size())
        throw std::bad_alloc();
    std::size_t slots = std::max(kMinSlots, m_slots.size());
    while (slots < 2 * (m_entries.size() + count))
        slots *= 2;
    if (slots > m_slots.size())
        GrowIndex(slots);
}

// Everything that can fail comes before the entry is placed, so a failed insert changes nothing.
template <typename Text> void CTesselMap::Put(Text&& key, Text&& value, std::uint32_t hash) {
    Slot& slot = m_slots[SlotFor(key, hash)];
    if (slot.entry != 0) {
        m_entries[slot.entry - 1].value = std::forward<Text>(value);
        return;
    }
    auto& bucket = m_buckets[Bucket(key)];
    if (bucket.size() == bucket.capacity())
        bucket.reserve(std::max<std::size_t>(8, 2 * bucket.capacity()));
    m_entries.push_back(Entry{std::forward<Text>(key), std::forward<Text>(value), hash});
    const auto entry = static_cast<std::uint32_t>(m_entries.size());
    bucket.push_back(entry - 1);
    slot = Slot{hash, entry};
}

void CTesselMap::Set(const std::string& key, const std::string& value) {
    MakeRoom(1);
    Put(key, value, LookupHash(key));
}

void CTesselMap::SetAll(std::vector<std::pair<std::string, std::string>> pairs) {
    MakeRoom(pairs.size());
    m_entries.reserve(m_entries.size() + pairs.size());
    std::vector<std::uint32_t> hashes;
    hashes.reserve(pairs.size());
    for (const auto& pair : pairs)
        hashes.push_back(LookupHash(pair.first));
    // The slots of a large table are far apart in memory: fetching them a few pairs ahead lets
    // those waits overlap.
    constexpr std::size_t kAhead = 16;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i + kAhead < pairs.size())
            __builtin_prefetch(&m_slots[hashes[i + kAhead] & mask]);
        Put(std::move(pairs[i].first), std::move(pairs[i].second), hashes[i]);
    }
}

const std::string* CTesselMap::Find(std::string_view key) const {
    if (m_slots.empty())
        return nullptr;
    const Slot& slot = m_slots[SlotFor(key, LookupHash(key))];
    return slot.entry == 0 ? nullptr : &m_entries[slot.entry - 1].value;
}

void CTesselMap::Clear() {
    m_entries.clear();
    for (auto& bucket : m_buckets)
        bucket.clear();
    std::fill(m_slots.begin(), m_slots.end(), Slot{});
}

std::vector<std::pair<std::string, std::string>> CTesselMap::Entries() const {
    std::vector<std::pair<std::string, std::string>> out;
    out.reserve(Size());
    ForEach(
        [&out](const std::string& key, const std::string& value) { out.emplace_back(key, value); });
    return out;
}

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
    result.damage =
        CDocumentReader(in, m_descriptions, m_parameters, m_resources, m_segments).Read();
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
