// The classes root in memory, its text form, and the locked read-modify-write of its file.
// Registry.cpp and ComCat.cpp build on this; tests use it to check the stored text directly.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct CRegValue {
    std::string name;
    std::string value;
};

struct CRegKeyEntry {
    std::string path; // "CLSID\{...}\InProcServer32", letter case as first created
    std::optional<std::string> defaultValue;
    std::vector<CRegValue> values;
};

// Keys in stored order. Every key's parents are present too. Paths compare without regard to
// ASCII letter case.
class CRegTree {
public:
    const std::vector<CRegKeyEntry>& Keys() const { return m_keys; }
    CRegKeyEntry* Find(std::string_view path);
    const CRegKeyEntry* Find(std::string_view path) const;
    // Creates the key and its missing parents; returns the key.
    CRegKeyEntry& Create(std::string_view path);
    // Removes the key and everything under it; false when it did not exist.
    bool Remove(std::string_view path);
    // Names (last part) of the direct subkeys of path ("" for the root), in stored order.
    std::vector<std::string> Children(std::string_view path) const;

private:
    void Reindex();
    std::vector<CRegKeyEntry> m_keys;
    std::unordered_map<std::string, std::size_t> m_index; // folded path -> position
};

// Canonical key path: parts joined by "\", empty parts dropped. Returns false for a path that
// cannot be stored (a control character in a part).
bool NormalizeKeyPath(std::string_view path, std::string* out);
std::string FoldCase(std::string_view text);
std::string JoinKeyPath(std::string_view parent, std::string_view child);

// Text form. Parsing never fails: text without the header, or with lines it does not understand,
// yields what could be read (nothing without the header).
std::string SerializeRegTree(const CRegTree& tree);
CRegTree ParseRegTree(std::string_view text);
bool HasRegHeader(std::string_view text);

// The classes-root file under its lock. Reading a missing or damaged file yields an empty tree.
CRegTree ReadClassesRoot();
// Reads the file under an exclusive lock, lets change edit the tree, and when change returns true
// writes the result through a temporary file renamed over the old one. Returns false when the
// file could not be written.
bool ModifyClassesRoot(const std::function<bool(CRegTree& tree)>& change);
// Creates the folder of the classes-root file; false when it cannot be.
bool EnsureClassesRootFolder();
