#include "PageFacts.h"

#include "Json.h"
#include "Text.h"

#include <gumbo.h>

#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <vector>

namespace site {

namespace {

// Windows-1252's characters for the bytes 0x80 to 0x9F (the others are those of Latin-1).
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

std::string Utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        foldline::AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kWindows1252[byte - 0x80] : byte);
    }
    return out;
}

void AppendCollapsed(std::string& out, std::string_view text) {
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
        if (!blank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
}

std::string TitleText(const GumboElement& title) {
    std::string text;
    for (unsigned i = 0; i < title.children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(title.children.data[i]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
            AppendCollapsed(text, child->v.text.text);
    }
    if (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

void NoteElement(const GumboElement& element, PageFacts& facts, bool& titled) {
    if (const GumboAttribute* id = gumbo_get_attribute(&element.attributes, "id"))
        facts.ids.insert(id->value);
    if (element.tag == GUMBO_TAG_A) {
        if (const GumboAttribute* name = gumbo_get_attribute(&element.attributes, "name"))
            facts.ids.insert(name->value);
    }
    if (element.tag == GUMBO_TAG_TITLE && element.tag_namespace == GUMBO_NAMESPACE_HTML &&
        !titled) {
        facts.title = TitleText(element);
        titled = true;
    }
}

// Everything the parser allocates, so a parse given up half-way frees all of it. The parser is
// C and keeps no state outside its allocations, so leaving it by longjmp from the allocator is
// safe; no C++ object lives in the frames skipped.
struct alignas(std::max_align_t) Block {
    Block* prev;
    Block* next;
    std::size_t size;
};

struct ParseBudget {
    std::jmp_buf escape;
    std::chrono::steady_clock::time_point deadline;
    std::size_t bytes = 0;
    Block* blocks = nullptr;
    const char* exceeded = nullptr;
};

void GiveUp(ParseBudget& budget, const char* why) {
    budget.exceeded = why;
    std::longjmp(budget.escape, 1);
}

void* Allocate(void* userdata, std::size_t size) {
    auto& budget = *static_cast<ParseBudget*>(userdata);
    if (budget.bytes + size > kMaxParseBytes)
        GiveUp(budget, "too large to read");
    if (std::chrono::steady_clock::now() > budget.deadline)
        GiveUp(budget, "too complex to read in time");
    auto* block = static_cast<Block*>(std::malloc(sizeof(Block) + size));
    if (!block)
        GiveUp(budget, "out of memory");
    *block = {nullptr, budget.blocks, size};
    if (budget.blocks)
        budget.blocks->prev = block;
    budget.blocks = block;
    budget.bytes += size;
    return block + 1;
}

void Deallocate(void* userdata, void* pointer) {
    if (!pointer)
        return;
    auto& budget = *static_cast<ParseBudget*>(userdata);
    Block* block = static_cast<Block*>(pointer) - 1;
    (block->prev ? block->prev->next : budget.blocks) = block->next;
    if (block->next)
        block->next->prev = block->prev;
    budget.bytes -= block->size;
    std::free(block);
}

void FreeAll(ParseBudget& budget) {
    while (budget.blocks)
        Deallocate(&budget, budget.blocks + 1);
}

// The parse, or null when the budget ran out. Only trivial objects live here, as longjmp asks.
GumboOutput* ParseWithin(ParseBudget& budget, const GumboOptions& options,
                         const std::string& text) {
    if (setjmp(budget.escape) != 0)
        return nullptr;
    return gumbo_parse_with_options(&options, text.data(), text.size());
}

void CollectFacts(const GumboOutput& output, PageFacts& facts) {
    bool titled = false;
    // Without recursion: a page may nest elements as deep as it likes.
    std::vector<const GumboNode*> pending{output.root};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            continue;
        NoteElement(node->v.element, facts, titled);
        const GumboVector& children = node->v.element.children;
        for (unsigned i = children.length; i > 0; --i)
            pending.push_back(static_cast<const GumboNode*>(children.data[i - 1]));
    }
}

} // namespace

bool ReadPageFacts(std::string_view bytes, PageFacts& facts, std::string& reason,
                   std::chrono::milliseconds budgetTime) {
    facts = PageFacts();
    std::string text =
        foldline::IsValidUtf8(bytes) ? std::string(bytes) : Utf8FromWindows1252(bytes);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    ParseBudget budget;
    budget.deadline = std::chrono::steady_clock::now() + budgetTime;
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = Allocate;
    options.deallocator = Deallocate;
    options.userdata = &budget;
    options.max_errors = 0; // the page's mistakes are not ours to keep
    GumboOutput* output = ParseWithin(budget, options, text);
    if (output)
        CollectFacts(*output, facts);
    // Not gumbo_destroy_output: it recurses as deep as the page nests, and every block is ours.
    FreeAll(budget);
    if (output)
        return true;
    reason = budget.exceeded ? budget.exceeded : "not read";
    return false;
}

} // namespace site
