#include "DocumentReader.h"

#include "DocumentMarkers.h"
#include "Text.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string_view>

using namespace tessel_markers;

namespace {

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

} // namespace

std::vector<std::string> ReadTesselParts(std::ifstream& in, CTesselMap& descriptions,
                                         CTesselMap& parameters,
                                         std::vector<ResourceEntry>& resources,
                                         std::vector<HtmlSegment>& segments) {
    return CDocumentReader(in, descriptions, parameters, resources, segments).Read();
}
