// Feeds arbitrary text to the outline reader, as a clipboard pasted into the tree would, and
// checks that what the items write reads back as the same items.
#include "MenuOutline.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Shallower than the widget allows, so the fuzzer reaches the clamping often.
constexpr int kDeepest = 8;

std::string Written(const std::vector<std::unique_ptr<CFurlinItem>>& items) {
    std::string text;
    for (const auto& item : items)
        text += WriteOutline(*item);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto items = BuildOutlineItems(ReadOutline(text), kDeepest);
    const std::string written = Written(items);
    // Once written, an outline is stable: reading it back gives the same text again.
    if (Written(BuildOutlineItems(ReadOutline(written), kDeepest)) != written)
        std::abort();
    return 0;
}
