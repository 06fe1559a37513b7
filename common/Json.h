// JSON texts: one parser (any input, nesting bounded, so no input can exhaust the stack) and the
// quoting of strings. Shared by the command-line automation client and the menu's JSON exchange.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace foldline {

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    bool integral = false;          // a number written without fraction or exponent
    std::string text;               // string contents, or the number as written
    std::vector<JsonValue> items;   // an array's elements, an object's member values
    std::vector<std::string> names; // an object's member names, beside its values

    // The value of an object's member (the last one of that name); null when there is none.
    const JsonValue* Member(std::string_view name) const;
};

// The whole text as one JSON value. False with the reason ("... at line L, column C") for text
// that is not JSON or nests deeper than maxDepth arrays and objects.
bool ParseJson(std::string_view text, JsonValue& out, std::string& error, int maxDepth = 64);

// A JSON string literal. Valid UTF-8 passes through; bytes that are not UTF-8 become U+FFFD so
// the text stays valid JSON.
std::string JsonQuote(std::string_view text);

void AppendUtf8(std::string& out, char32_t c);

} // namespace foldline
