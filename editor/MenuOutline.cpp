#include "MenuOutline.h"

#include <algorithm>
#include <utility>

namespace {

// Links and frame names lose their line breaks, as browsers drop them from a link anyway; written
// as "\n" they would read back as a backslash and an "n".
std::string Escape(const std::string& text, bool lineBreaks) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == '|') {
            out += '\\';
            out += c;
        } else if (c == '\r' || c == '\n') {
            if (lineBreaks)
                out += "\\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Only the escapes are read; any other backslash stays as typed. Links and frame names have no
// line breaks, so a typed "C:\new" stays as it is there.
std::string Unescape(std::string_view field, bool lineBreaks) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char next = i + 1 < field.size() ? field[i + 1] : '\0';
        if (field[i] == '\\' && (next == '\\' || next == '|')) {
            out += next;
            ++i;
        } else if (lineBreaks && field[i] == '\\' && next == 'n') {
            out += "\r\n";
            ++i;
        } else {
            out += field[i];
        }
    }
    return out;
}

// A stray carriage return counts as a blank: it is no line break inside a line. So does a byte
// order mark, which a text copied from a file can carry where a line starts.
std::string_view Trim(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    for (;;) {
        if (!text.empty() && blank(text.front()))
            text.remove_prefix(1);
        else if (!text.empty() && blank(text.back()))
            text.remove_suffix(1);
        else if (text.starts_with(kByteOrderMark))
            text.remove_prefix(kByteOrderMark.size());
        else if (text.ends_with(kByteOrderMark))
            text.remove_suffix(kByteOrderMark.size());
        else
            return text;
    }
}

// Splits at the bars that are not escaped.
std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == '|') {
            fields.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    fields.push_back(text.substr(std::min(start, text.size())));
    return fields;
}

void AppendLine(std::string& out, const CFurlinItem& item, int depth) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += Escape(item.Label, true);
    // An empty label still needs a bar, or its line would read as blank.
    if (!item.Link.empty() || !item.TargetFrame.empty() || item.Label.empty())
        out += " | " + Escape(item.Link, false);
    if (!item.TargetFrame.empty())
        out += " | " + Escape(item.TargetFrame, false);
    out += '\n';
}

// One line's level (half the blank columns, a tab counting two) and its text.
std::pair<int, std::string_view> Indented(std::string_view line) {
    int columns = 0;
    std::size_t at = 0;
    for (; at < line.size() && (line[at] == ' ' || line[at] == '\t'); ++at)
        columns += line[at] == '\t' ? 2 : 1;
    return {columns / 2, line.substr(at)};
}

// A link or frame name without the stray carriage returns a line can hold, as it is written.
std::string LinkField(std::string_view field) {
    std::string kept;
    for (const char c : field) {
        if (c != '\r')
            kept += c;
    }
    return Unescape(Trim(kept), false);
}

OutlineLine ParseLine(std::string_view text) {
    OutlineLine line;
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.size() > 3) {
        line.label = std::string(Trim(text));
        return line;
    }
    line.label = Unescape(Trim(fields[0]), true);
    if (fields.size() > 1)
        line.link = LinkField(fields[1]);
    if (fields.size() > 2)
        line.target = LinkField(fields[2]);
    return line;
}

} // namespace

std::string WriteOutline(const CFurlinItem& item) {
    std::string out;
    std::vector<std::pair<const CFurlinItem*, int>> pending{{&item, 0}};
    while (!pending.empty()) {
        const auto [current, depth] = pending.back();
        pending.pop_back();
        AppendLine(out, *current, depth);
        const auto& children = current->GetSubMenu()->Items();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.emplace_back(it->get(), depth + 1);
    }
    return out;
}

std::vector<OutlineLine> ReadOutline(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<OutlineLine> lines;
    int base = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        const auto [level, rest] = Indented(raw);
        if (Trim(rest).empty())
            continue;
        if (lines.empty())
            base = level;
        OutlineLine line = ParseLine(rest);
        const int deepest = lines.empty() ? 0 : lines.back().depth + 1;
        line.depth = std::clamp(level - base, 0, deepest);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::unique_ptr<CFurlinItem>> BuildOutlineItems(const std::vector<OutlineLine>& lines,
                                                            int maxDepth) {
    std::vector<std::unique_ptr<CFurlinItem>> roots;
    std::vector<CFurlinItem*> chain; // the last item placed at each depth
    for (const OutlineLine& line : lines) {
        const int depth = std::min({line.depth, std::max(maxDepth, 0), int(chain.size())});
        auto item = std::make_unique<CFurlinItem>();
        item->Label = line.label;
        item->Link = line.link;
        item->TargetFrame = line.target;
        chain.resize(static_cast<std::size_t>(depth));
        chain.push_back(item.get());
        if (depth == 0)
            roots.push_back(std::move(item));
        else
            chain[depth - 1]->GetSubMenu()->AddItem(std::move(item), false);
    }
    return roots;
}
