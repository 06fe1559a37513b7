// The widget document: four tables that are also the exact content of a ".tsl" file.
#pragma once

#include "FileResult.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct ResourceEntry {
    std::string name;      // file name without folder
    std::string localPath; // folder on the author's disk
    std::string webPath;   // folder or URL prefix on the server
};

struct HtmlSegment {
    std::string position; // "cursor", "style", "script", ...
    std::string body;     // lines ending with CR LF
};

enum class ResourceField { Name, LocalPath, WebPath };

// A text map of 17 buckets (hash = 33 * hash + signed byte). Iteration visits the buckets in
// ascending order and, within a bucket, the most recently inserted key first; written files
// follow that order.
class CTesselMap {
public:
    // Replaces the value of an existing key in place (its position does not change).
    void Set(const std::string& key, const std::string& value);
    const std::string* Find(std::string_view key) const;
    bool Contains(std::string_view key) const { return Find(key) != nullptr; }
    void Clear();
    // Sets each pair in order, as Set one by one would; quicker for many pairs.
    void SetAll(std::vector<std::pair<std::string, std::string>> pairs);
    std::size_t Size() const { return m_entries.size(); }
    // Entries in iteration order.
    std::vector<std::pair<std::string, std::string>> Entries() const;
    // Visits (key, value) in iteration order without copying.
    template <typename Visit> void ForEach(Visit visit) const {
        for (const auto& bucket : m_buckets)
            for (auto it = bucket.rbegin(); it != bucket.rend(); ++it)
                visit(m_entries[*it].key, m_entries[*it].value);
    }

    static unsigned Bucket(std::string_view key);

private:
    static constexpr unsigned kBuckets = 17;
    struct Entry {
        std::string key;
        std::string value;
        std::uint32_t hash;
    };
    // A slot of the lookup index: the entry's hash and its position + 1 (0 for a free slot).
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t entry = 0;
    };

    // The slot holding `key`, or the free slot where it would go.
    std::size_t SlotFor(std::string_view key, std::uint32_t hash) const;
    // Room in the index for `count` more keys.
    void MakeRoom(std::size_t count);
    void GrowIndex(std::size_t slots);
    // Sets a pair whose hash is known into an index with room for it.
    template <typename Text> void Put(Text&& key, Text&& value, std::uint32_t hash);

    std::vector<Entry> m_entries; // in insertion order
    // Entry positions per bucket, the newest at the back.
    std::vector<std::uint32_t> m_buckets[kBuckets];
    // Open addressing over m_entries (a power of two, at most half full), so Set and Find stay
    // constant-time on large tables.
    std::vector<Slot> m_slots;
};

// A write error after the file was created; the previous file at the path is left intact.
class CTesselWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What one Load found: whether the file could be opened and, when it ended before its parts
// were complete or held lines the reader passed over, what is missing.
struct CLoadResult {
    FileResult file;
    std::vector<std::string> damage; // empty for a whole file

    bool Whole() const { return damage.empty(); }
    // The problems joined with "; ".
    std::string DescribeDamage() const;
};

class CFileWriter;

class CTesselFile {
public:
    static constexpr std::size_t kMaxListEntries = 65535;

    // Merges the file into the tables; false only when it cannot be opened for reading.
    bool Load(const std::string& path);
    // Load, telling why a file could not be opened and what a damaged file lacks. A damaged file
    // is read exactly as Load reads it.
    CLoadResult LoadFile(const std::string& path);
    // Writes the four parts to a temporary file in the same folder and renames it over path.
    // False when the file cannot be created; throws CTesselWriteError on a later write error.
    bool Save(const std::string& path) const;
    // Save, reporting a later write error as a result too; the old file then stays as it was.
    FileResult SaveFile(const std::string& path) const;
    // The bytes Save writes.
    std::string ToText() const;

    // Description table. Getting an absent key creates it with an empty value.
    std::string GetDescription(const std::string& key);
    bool SetDescription(const std::string& key, const std::string& value);
    const CTesselMap& Descriptions() const { return m_descriptions; }

    // Parameter table.
    bool SetParameter(const std::string& name, const std::string& value);
    std::string GetParameter(const std::string& name, const std::string& defaultValue = {}) const;
    bool ClearParameters();
    // SetParameter for each pair in order; false when memory runs out (the earlier pairs are set).
    bool SetParameters(std::vector<std::pair<std::string, std::string>> pairs);
    const CTesselMap& Parameters() const { return m_parameters; }

    // Resource list (at most kMaxListEntries; AddResource is false beyond).
    bool AddResource(const std::string& name, const std::string& localPath,
                     const std::string& webPath);
    bool ClearResources();
    std::uint16_t GetResourceCount() const;
    std::string GetResourceField(int index, ResourceField field) const;
    std::string GetResourceFieldByName(const std::string& name, ResourceField field) const;
    bool SetAllResourceLocalPaths(const std::string& path);
    const std::vector<ResourceEntry>& Resources() const { return m_resources; }

    // HTML segment list.
    int AddSegment(const std::string& position, const std::string& body);
    bool ClearSegments();
    std::uint16_t GetSegmentCount() const;
    const std::vector<HtmlSegment>& Segments() const { return m_segments; }

private:
    void WriteParts(CFileWriter& out) const;

    CTesselMap m_descriptions;
    CTesselMap m_parameters;
    std::vector<ResourceEntry> m_resources;
    std::vector<HtmlSegment> m_segments;
};
