// The values of the stored parameter table: cutting a value into its fields, and writing and
// reading a record's fields by its table. Not part of the public model interface.
#pragma once

#include "Paths.h"
#include "Records.h"
#include "Text.h"
#include "TextEscapes.h"

#include <array>
#include <charconv>
#include <span>
#include <string>
#include <string_view>

namespace foldline {

// The tokens of a value cut at every separator: "a,,b," gives "a", "", "b" and "".
class CFieldCutter {
public:
    CFieldCutter(std::string_view text, char separator) : m_rest(text), m_separator(separator) {}

    // False once the token after the last separator has been given.
    bool Next(std::string_view& token) {
        if (m_done)
            return false;
        // Tokens are mostly a few digits: a plain loop beats a library search here.
        std::size_t pos = 0;
        while (pos < m_rest.size() && m_rest[pos] != m_separator)
            ++pos;
        token = m_rest.substr(0, pos);
        if (pos == m_rest.size())
            m_done = true;
        else
            m_rest.remove_prefix(pos + 1);
        return true;
    }

private:
    std::string_view m_rest;
    char m_separator;
    bool m_done = false;
};

// The first N comma-separated fields of a value, still escaped; missing ones are empty.
template <std::size_t N> std::array<std::string_view, N> CutFields(std::string_view value) {
    std::array<std::string_view, N> fields{};
    CFieldCutter cutter(value, ',');
    for (std::size_t i = 0; i < N && cutter.Next(fields[i]); ++i) {
    }
    return fields;
}

template <typename Number> void AppendDecimal(std::string& out, Number value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, static_cast<std::size_t>(end - digits));
}

// Colours are the decimal number of the unsigned value; reading wraps rather than saturates, so
// every value written reads back as itself.
inline COLORREF StoredColour(std::string_view text) {
    return static_cast<COLORREF>(static_cast<unsigned long long>(LeadingInt64(text)));
}

// Texts are escaped whole, so no field can carry a separator or break its line; a file is stored
// as its name alone.
template <typename R> void AppendStoredField(std::string& out, const R& record, const Field<R>& f) {
    switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::WebFolder:
        AppendEscaped(out, TextOf(record, f), LineBreaks::All);
        break;
    case FieldKind::File:
        AppendEscaped(out, FileNamePart(TextOf(record, f)), LineBreaks::All);
        break;
    case FieldKind::Number:
        AppendDecimal(out, NumberOf(record, f));
        break;
    case FieldKind::Colour:
        AppendDecimal(out, ColourOf(record, f));
        break;
    case FieldKind::Look: // a group of its own
        break;
    }
}

template <const auto& Fields, Rows Which = Rows::Values, typename R>
void AppendStoredValue(std::string& out, const R& record) {
    constexpr auto& order = kStoredOrder<Fields, Which>;
    for (std::size_t at = 0; at < order.size(); ++at) {
        if (at > 0)
            out.push_back(',');
        if (order[at] != kNoSlot)
            AppendStoredField(out, record, Fields[static_cast<std::size_t>(order[at])]);
    }
}

// The fields of one stored value, cut and still escaped. Most values hold no escape at all, so
// that is checked once for the whole value rather than once per field.
struct StoredTokens {
    std::span<const std::string_view> fields;
    bool escaped;

    std::string_view Field(std::size_t at, std::string& scratch) const {
        return escaped ? Unescaped(fields[at], scratch) : fields[at];
    }
};

inline bool HoldsEscape(std::string_view value) {
    return value.find(kEscapeEnd) != std::string_view::npos;
}

// Every field is unescaped, numbers too; a file comes back as `folder` followed by its name.
template <typename R>
void ReadStoredField(R& record, const Field<R>& f, std::string_view field,
                     const std::string& folder) {
    switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::WebFolder:
        TextOf(record, f).assign(field);
        break;
    case FieldKind::File: {
        std::string& file = TextOf(record, f);
        file.clear();
        if (!field.empty())
            file.append(folder).append(FileNamePart(field));
        break;
    }
    case FieldKind::Number:
        NumberOf(record, f) = LeadingInt(field);
        break;
    case FieldKind::Colour:
        ColourOf(record, f) = StoredColour(field);
        break;
    case FieldKind::Look:
        break;
    }
}

template <const auto& Fields, Rows Which = Rows::Values, typename R>
void ReadStoredFields(R& record, const StoredTokens& tokens, const std::string& folder) {
    std::string scratch;
    for (const auto& f : Fields)
        if (Placed(f, Which) && f.storedAt != kNoSlot && f.storedReadBack)
            ReadStoredField(record, f, tokens.Field(static_cast<std::size_t>(f.storedAt), scratch),
                            folder);
}

template <const auto& Fields, Rows Which = Rows::Values, typename R>
void ReadStoredValue(R& record, std::string_view value, const std::string& folder) {
    const auto fields = CutFields<kStoredOrder<Fields, Which>.size()>(value);
    ReadStoredFields<Fields, Which>(record, StoredTokens{fields, HoldsEscape(value)}, folder);
}

// A menu's looks: the groups one after the other, each closed by kLookGroupEnd.
inline constexpr std::size_t kLookWidth = kStoredOrder<kLookFields, Rows::Values>.size();
inline constexpr std::size_t kLookStride = kLookWidth + kLookGroupPadding;
inline constexpr std::size_t kLooksWidth =
    kStoredOrder<kMenuFields, Rows::Looks>.size() * kLookStride;

inline void AppendStoredLooks(std::string& out, const CFurlin& menu) {
    for (int row : kStoredOrder<kMenuFields, Rows::Looks>) {
        AppendStoredValue<kLookFields>(out,
                                       LookOf(menu, kMenuFields[static_cast<std::size_t>(row)]));
        out.append(kLookGroupEnd);
    }
}

inline void ReadStoredLooks(CFurlin& menu, std::string_view value) {
    const auto fields = CutFields<kLooksWidth>(value);
    const bool escaped = HoldsEscape(value);
    for (const auto& f : kMenuFields)
        if (f.kind == FieldKind::Look)
            ReadStoredFields<kLookFields>(
                LookOf(menu, f),
                StoredTokens{std::span(fields).subspan(
                                 static_cast<std::size_t>(f.storedAt) * kLookStride, kLookWidth),
                             escaped},
                std::string());
}

} // namespace foldline
