// Text helpers shared by every layer: plain C++, no Qt. Case folding and blanks are ASCII only,
// so results never depend on the locale.
#pragma once

#include <string>
#include <string_view>

namespace foldline {

// The text without blanks (space, tab, CR, LF, VT, FF) at either end.
std::string_view Trim(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

// A leading decimal integer: blanks, an optional sign, digits; anything else ends it, and an empty
// or non-numeric text is 0. Nothing wraps: LeadingInt saturates at the ends of int, and
// LeadingInt64 stops taking digits once the value is far beyond 32 bits.
long long LeadingInt64(std::string_view text);
int LeadingInt(std::string_view text);
// A leading decimal number in the C locale: optional sign, digits with an optional point, an
// optional exponent; 0 when there is none.
double LeadingDecimal(std::string_view text);

} // namespace foldline

namespace foldline {

// The UTF-8 sequence at text[i]: its length (1 to 4) with its code point, or 0 when the bytes
// there are no valid UTF-8 (overlong forms, surrogates and values past U+10FFFF included).
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& code);
bool IsValidUtf8(std::string_view text);

} // namespace foldline
