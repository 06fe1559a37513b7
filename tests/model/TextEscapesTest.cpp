#include "TextEscapes.h"

#include <gtest/gtest.h>

namespace {

using foldline::LineBreaks;

std::string Escaped(const std::string& text, LineBreaks lineBreaks) {
    std::string out;
    foldline::AppendEscaped(out, text, lineBreaks);
    return out;
}

TEST(TextEscapes, EachGrammarEscapesItsOwnLineBreaks) {
    const std::string text = "a,\r\n\rb\n\r\r\nc";
    EXPECT_EQ(Escaped(text, LineBreaks::Kept), "a~@^`\r\n\rb\n\r\r\nc");
    EXPECT_EQ(foldline::EscapeLabel(text), "a~@^`|_#`\rb\n\r|_#`c");
    // CR LF pairs first, so "\r\r\n" is a lone CR and a pair: two escapes, not three.
    EXPECT_EQ(Escaped(text, LineBreaks::All), "a~@^`|_#`|_#`b|_#`|_#`|_#`c");
}

TEST(TextEscapes, UnescapingMatchesReplacingOneEscapeAfterTheOther) {
    EXPECT_EQ(foldline::Unescape("~@^``", ','), ",`");
    EXPECT_EQ(foldline::Unescape("`~@^`|_#``", ','), "`,\r\n`");
    EXPECT_EQ(foldline::Unescape("~@^~@^`|_#|_#`", '-'), "~@^-|_#\r\n");
    EXPECT_EQ(foldline::Unescape("``", ','), "``");
    EXPECT_EQ(foldline::Unescape("", ','), "");
    std::string scratch = "stale";
    EXPECT_EQ(foldline::Unescaped("12", scratch), "12");
    EXPECT_EQ(foldline::Unescaped("|_#`12", scratch), "\r\n12");
}

TEST(TextEscapes, EveryStoredTextReadsBackAsItself) {
    for (const std::string text : {"", ",", "\r\n", "a,b\r\nc", "~@^`", "|_#`,x", "`,`"}) {
        const std::string stored = Escaped(text, LineBreaks::All);
        EXPECT_EQ(stored.find_first_of(",\r\n"), std::string::npos) << text;
        // Texts that hold an escape themselves are the grammar's known ambiguity.
        if (text.find('`') == std::string::npos) {
            EXPECT_EQ(foldline::Unescape(stored, ','), text) << text;
        }
    }
}

} // namespace
