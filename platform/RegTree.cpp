#include "RegTree.h"

#include "Registry.h"
#include "Text.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kRootName = "HKEY_CLASSES_ROOT";

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        // A raw line break would end the line and let a value forge keys of its own.
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out;
}

// Reads a quoted string at the start of text; returns the characters consumed, 0 on failure.
std::size_t Unquote(std::string_view text, std::string* out) {
    if (text.empty() || text[0] != '"')
        return 0;
    out->clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"')
            return i + 1;
        if (c == '\\') {
            if (++i >= text.size())
                return 0;
            char e = text[i];
            if (e == 'n')
                *out += '\n';
            else if (e == 'r')
                *out += '\r';
            else
                *out += e;
        } else {
            *out += c;
        }
    }
    return 0;
}

} // namespace

std::string FoldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool NormalizeKeyPath(std::string_view path, std::string* out) {
    std::string result;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        std::string_view part = path.substr(start, end - start);
        for (char c : part)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                return false;
        if (!part.empty()) {
            if (!result.empty())
                result += '\\';
            result += part;
        }
        start = end + 1;
    }
    *out = std::move(result);
    return true;
}

std::string JoinKeyPath(std::string_view parent, std::string_view child) {
    if (parent.empty())
        return std::string(child);
    if (child.empty())
        return std::string(parent);
    std::string out(parent);
    out += '\\';
    out += child;
    return out;
}

// ---- CRegTree -----------------------------------------------------------------------------------

CRegKeyEntry* CRegTree::Find(std::string_view path) {
    auto it = m_index.find(FoldCase(path));
    return it == m_index.end() ? nullptr : &m_keys[it->second];
}

const CRegKeyEntry* CRegTree::Find(std::string_view path) const {
    auto it = m_index.find(FoldCase(path));
    return it == m_index.end() ? nullptr : &m_keys[it->second];
}

CRegKeyEntry& CRegTree::Create(std::string_view path) {
    std::size_t pos = 0;
    CRegKeyEntry* last = nullptr;
    while (true) {
        std::size_t end = path.find('\\', pos);
        std::string_view prefix = path.substr(0, end);
        if (CRegKeyEntry* found = Find(prefix)) {
            last = found;
        } else {
            m_index.emplace(FoldCase(prefix), m_keys.size());
            m_keys.push_back(CRegKeyEntry{std::string(prefix), std::nullopt, {}});
            last = &m_keys.back();
        }
        if (end == std::string_view::npos)
            break;
        pos = end + 1;
    }
    return *last;
}

bool CRegTree::Remove(std::string_view path) {
    std::string folded = FoldCase(path);
    if (!m_index.count(folded))
        return false;
    std::string prefix = folded + '\\';
    std::erase_if(m_keys, [&](const CRegKeyEntry& key) {
        std::string f = FoldCase(key.path);
        return f == folded || f.starts_with(prefix);
    });
    Reindex();
    return true;
}

std::vector<std::string> CRegTree::Children(std::string_view path) const {
    std::string prefix = path.empty() ? std::string() : FoldCase(path) + '\\';
    std::vector<std::string> out;
    for (const CRegKeyEntry& key : m_keys) {
        if (key.path.size() <= prefix.size())
            continue;
        if (FoldCase(std::string_view(key.path).substr(0, prefix.size())) != prefix)
            continue;
        std::string_view rest = std::string_view(key.path).substr(prefix.size());
        if (rest.find('\\') == std::string_view::npos)
            out.emplace_back(rest);
    }
    return out;
}

void CRegTree::Reindex() {
    m_index.clear();
    for (std::size_t i = 0; i < m_keys.size(); ++i)
        m_index.emplace(FoldCase(m_keys[i].path), i);
}

// ---- text form ----------------------------------------------------------------------------------

bool HasRegHeader(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::size_t end = text.find('\n');
    std::string_view first = foldline::Trim(text.substr(0, end));
    return first == kHeader || first == kOldHeader;
}

std::string SerializeRegTree(const CRegTree& tree) {
    std::string out(kHeader);
    out += "\n\n";
    for (const CRegKeyEntry& key : tree.Keys()) {
        out += '[';
        out += kRootName;
        out += '\\';
        out += key.path;
        out += "]\n";
        if (key.defaultValue) {
            out += "@=";
            out += Quote(*key.defaultValue);
            out += '\n';
        }
        for (const CRegValue& value : key.values) {
            out += Quote(value.name);
            out += '=';
            out += Quote(value.value);
            out += '\n';
        }
        out += '\n';
    }
    return out;
}

namespace {

// The key path a section line "[HKEY_CLASSES_ROOT\...]" names, normalized; false for any other
// line, or a section of another root.
bool ParseSectionLine(std::string_view line, std::string* normalized) {
    if (line.back() != ']')
        return false;
    std::string_view name = line.substr(1, line.size() - 2);
    if (name.size() < kRootName.size() ||
        FoldCase(name.substr(0, kRootName.size())) != FoldCase(kRootName))
        return false;
    name.remove_prefix(kRootName.size());
    if (!name.empty() && name[0] != '\\')
        return false;
    return NormalizeKeyPath(name, normalized) && !normalized->empty();
}

// A value line of a section: @="default" or "name"="value". Typed values (dword:, hex:) are not
// ours and are skipped, as is anything malformed.
void ParseValueLine(std::string_view line, CRegKeyEntry& key) {
    std::string name;
    std::size_t used = 0;
    const bool isDefault = line[0] == '@';
    if (isDefault) {
        used = 1;
    } else {
        used = Unquote(line, &name);
        if (used == 0)
            return;
    }
    std::string_view rest = foldline::Trim(line.substr(used));
    if (rest.empty() || rest[0] != '=')
        return;
    rest = foldline::Trim(rest.substr(1));
    std::string value;
    const std::size_t valueUsed = Unquote(rest, &value);
    if (valueUsed == 0 || valueUsed != rest.size())
        return;
    if (isDefault) {
        key.defaultValue = std::move(value);
        return;
    }
    const std::string folded = FoldCase(name);
    for (CRegValue& v : key.values) {
        if (FoldCase(v.name) == folded) {
            v.value = value;
            return;
        }
    }
    key.values.push_back(CRegValue{std::move(name), std::move(value)});
}

} // namespace

CRegTree ParseRegTree(std::string_view text) {
    CRegTree tree;
    if (!HasRegHeader(text))
        return tree;
    std::string current; // folded-case lookups go through tree.Find
    bool inSection = false;
    std::size_t pos = text.find('\n');
    while (pos != std::string_view::npos && pos < text.size()) {
        std::size_t end = text.find('\n', pos + 1);
        std::string_view line = foldline::Trim(
            text.substr(pos + 1, end == std::string_view::npos ? end : end - pos - 1));
        pos = end;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            std::string normalized;
            inSection = ParseSectionLine(line, &normalized);
            if (inSection) {
                tree.Create(normalized);
                current = normalized;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (CRegKeyEntry* key = tree.Find(current))
            ParseValueLine(line, *key);
    }
    return tree;
}

// ---- the file -----------------------------------------------------------------------------------

namespace {

bool ReadWholeFile(int fd, std::string* out) {
    out->clear();
    char buffer[65536];
    while (true) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        out->append(buffer, static_cast<std::size_t>(n));
    }
}

bool ReadFileText(const std::string& path, std::string* out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        out->clear();
        return false;
    }
    bool ok = ReadWholeFile(fd, out);
    int readErrno = ok ? 0 : (errno == ENOENT ? EIO : errno);
    ::close(fd);
    errno = readErrno;
    return ok;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty())
        return true;
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    std::size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST;
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// An flock on "<file>.lock": the data file itself is replaced by rename, so it cannot carry it.
class CFileLock {
public:
    CFileLock(const std::string& path, bool exclusive, bool create) {
        int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0);
        m_fd = ::open((path + ".lock").c_str(), flags, 0666);
        if (m_fd < 0)
            return;
        while (::flock(m_fd, exclusive ? LOCK_EX : LOCK_SH) != 0) {
            if (errno != EINTR) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~CFileLock() {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace

bool EnsureClassesRootFolder() {
    std::string path = ClassesRootPath();
    return !path.empty() && MakeFolders(FolderOf(path));
}

CRegTree ReadClassesRoot() {
    std::string path = ClassesRootPath();
    if (path.empty())
        return {};
    // Writers rename a complete file into place, so reading without the lock (when it cannot be
    // taken, e.g. a read-only folder) still sees a whole file.
    CFileLock lock(path, false, false);
    std::string text;
    if (!ReadFileText(path, &text))
        return {};
    return ParseRegTree(text);
}

bool ModifyClassesRoot(const std::function<bool(CRegTree& tree)>& change) {
    std::string path = ClassesRootPath();
    if (path.empty() || !MakeFolders(FolderOf(path)))
        return false;
    CFileLock lock(path, true, true);
    if (!lock.Held())
        return false;
    std::string text;
    // A file that exists but cannot be read must not be replaced by a tree built from nothing.
    if (!ReadFileText(path, &text) && errno != ENOENT)
        return false;
    CRegTree tree = ParseRegTree(text);
    if (!change(tree))
        return true;

    // A file we cannot read is kept aside rather than silently replaced.
    if (!text.empty() && !HasRegHeader(text)) {
        std::string aside = path + ".damaged";
        ::rename(path.c_str(), aside.c_str());
    }

    static std::atomic<unsigned> counter{0};
    std::string temp =
        path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter.fetch_add(1));
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, SerializeRegTree(tree)) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}
