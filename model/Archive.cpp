#include "Archive.h"

#include "CFurlin.h"

CArchive::CArchive() : m_storing(true) {}

CArchive::CArchive(std::string_view data) : m_storing(false), m_data(data) {}

void CArchive::WriteInt(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8)
        m_out.push_back(static_cast<char>((u >> shift) & 0xFFu));
}

void CArchive::WriteText(const std::string& text) {
    WriteInt(static_cast<std::int32_t>(text.size()));
    m_out.append(text);
}

void CArchive::WriteObject(const CObject& object) {
    const CRuntimeClass* cls = object.GetRuntimeClass();
    WriteText(cls->className);
    WriteInt(static_cast<std::int32_t>(cls->schema));
    // Storing never modifies the object; Serialize is shared with loading, hence non-const.
    const_cast<CObject&>(object).Serialize(*this);
}

std::int32_t CArchive::ReadInt() {
    if (m_failed || Remaining() < 4) {
        m_failed = true;
        return 0;
    }
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(m_data[m_pos + i])) << (8 * i);
    m_pos += 4;
    return static_cast<std::int32_t>(u);
}

std::string CArchive::ReadText() {
    const std::int32_t length = ReadInt();
    // A length the block cannot back is a lie: fail before allocating anything for it.
    if (m_failed || length < 0 || static_cast<std::size_t>(length) > Remaining()) {
        m_failed = true;
        return {};
    }
    std::string text(m_data.substr(m_pos, static_cast<std::size_t>(length)));
    m_pos += static_cast<std::size_t>(length);
    return text;
}

bool CArchive::ReadClassTag(const CRuntimeClass& expected) {
    const std::string name = ReadText();
    const std::int32_t schema = ReadInt();
    if (m_failed || name != expected.className ||
        schema != static_cast<std::int32_t>(expected.schema)) {
        m_failed = true;
        return false;
    }
    return true;
}

bool CArchive::EnterLevel() {
    if (m_depth >= kMaxDepth) {
        m_failed = true;
        return false;
    }
    ++m_depth;
    return true;
}
