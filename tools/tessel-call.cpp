// tessel-call [--progid PROGID]: a command-line automation client. Creates one instance by ProgID
// and answers each line of standard input, a JSON array ["Member", args...] or ["Title=", value],
// with one JSON line: the result, or {"error": "...", "hresult": "0x..."}.
#include "Com.h"
#include "DispatchDriver.h"
#include "FoldlineDispatch.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

// ---- JSON ---------------------------------------------------------------------------------------

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    bool integral = false; // a number written without fraction or exponent
    std::string text;      // string contents, or the number as written
    std::vector<JsonValue> items;
};

void AppendUtf8(std::string* out, char32_t c) {
    if (c < 0x80) {
        *out += static_cast<char>(c);
    } else if (c < 0x800) {
        *out += static_cast<char>(0xC0 | (c >> 6));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out += static_cast<char>(0xE0 | (c >> 12));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (c >> 18));
        *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

class CJsonParser {
public:
    explicit CJsonParser(std::string_view text) : m_text(text) {}

    // The whole text must be one value.
    bool ParseDocument(JsonValue* out) {
        SkipSpace();
        if (!ParseValue(out, 0))
            return false;
        SkipSpace();
        if (m_pos != m_text.size())
            return Error("unexpected text after the value");
        return true;
    }
    const std::string& ErrorText() const { return m_error; }

private:
    static constexpr int kMaxDepth = 64;

    bool Error(const std::string& what) {
        if (m_error.empty())
            m_error = what + " at column " + std::to_string(m_pos + 1);
        return false;
    }
    void SkipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }
    bool Literal(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word)
            return Error("invalid literal");
        m_pos += word.size();
        return true;
    }

    bool ParseValue(JsonValue* out, int depth) {
        if (depth > kMaxDepth)
            return Error("nesting too deep");
        if (m_pos >= m_text.size())
            return Error("unexpected end of input");
        char c = m_text[m_pos];
        switch (c) {
        case 'n':
            out->kind = JsonValue::Null;
            return Literal("null");
        case 't':
            out->kind = JsonValue::Bool;
            out->boolean = true;
            return Literal("true");
        case 'f':
            out->kind = JsonValue::Bool;
            out->boolean = false;
            return Literal("false");
        case '"':
            out->kind = JsonValue::String;
            return ParseString(&out->text);
        case '[':
            return ParseArray(out, depth);
        case '{':
            return ParseObject(out, depth);
        default:
            if (c == '-' || (c >= '0' && c <= '9'))
                return ParseNumber(out);
            return Error("unexpected character");
        }
    }

    bool ParseArray(JsonValue* out, int depth) {
        out->kind = JsonValue::Array;
        ++m_pos; // [
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return true;
        }
        while (true) {
            SkipSpace();
            JsonValue item;
            if (!ParseValue(&item, depth + 1))
                return false;
            out->items.push_back(std::move(item));
            SkipSpace();
            if (m_pos >= m_text.size())
                return Error("unterminated array");
            if (m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_text[m_pos] == ']') {
                ++m_pos;
                return true;
            }
            return Error("expected ',' or ']'");
        }
    }

    bool ParseObject(JsonValue* out, int depth) {
        out->kind = JsonValue::Object;
        ++m_pos; // {
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            return true;
        }
        while (true) {
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                return Error("expected a member name");
            std::string name;
            if (!ParseString(&name))
                return false;
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':')
                return Error("expected ':'");
            ++m_pos;
            SkipSpace();
            JsonValue value;
            if (!ParseValue(&value, depth + 1))
                return false;
            out->items.push_back(std::move(value)); // members are not needed, only checked
            SkipSpace();
            if (m_pos >= m_text.size())
                return Error("unterminated object");
            if (m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_text[m_pos] == '}') {
                ++m_pos;
                return true;
            }
            return Error("expected ',' or '}'");
        }
    }

    bool ReadHex4(char32_t* out) {
        if (m_pos + 4 > m_text.size())
            return Error("invalid \\u escape");
        char32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            char c = m_text[m_pos++];
            int d = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
            if (d < 0)
                return Error("invalid \\u escape");
            value = value * 16 + static_cast<char32_t>(d);
        }
        *out = value;
        return true;
    }

    bool ParseString(std::string* out) {
        ++m_pos; // opening quote
        out->clear();
        while (m_pos < m_text.size()) {
            unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
            if (c == '"') {
                ++m_pos;
                return true;
            }
            if (c < 0x20)
                return Error("control character in string");
            if (c != '\\') {
                *out += static_cast<char>(c); // UTF-8 passes through unchanged
                ++m_pos;
                continue;
            }
            if (++m_pos >= m_text.size())
                break;
            char e = m_text[m_pos++];
            switch (e) {
            case '"':
                *out += '"';
                break;
            case '\\':
                *out += '\\';
                break;
            case '/':
                *out += '/';
                break;
            case 'b':
                *out += '\b';
                break;
            case 'f':
                *out += '\f';
                break;
            case 'n':
                *out += '\n';
                break;
            case 'r':
                *out += '\r';
                break;
            case 't':
                *out += '\t';
                break;
            case 'u': {
                char32_t unit = 0;
                if (!ReadHex4(&unit))
                    return false;
                if (unit >= 0xD800 && unit <= 0xDBFF && m_text.substr(m_pos, 2) == "\\u") {
                    std::size_t save = m_pos;
                    m_pos += 2;
                    char32_t low = 0;
                    if (!ReadHex4(&low))
                        return false;
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                        break;
                    }
                    m_pos = save; // not a pair: the second escape stands alone
                }
                AppendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? 0xFFFD : unit);
                break;
            }
            default:
                return Error("invalid escape");
            }
        }
        return Error("unterminated string");
    }

    bool ParseNumber(JsonValue* out) {
        std::size_t start = m_pos;
        auto digits = [&] {
            std::size_t first = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                ++m_pos;
            return m_pos > first;
        };
        bool integral = true;
        if (m_text[m_pos] == '-')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '0')
            ++m_pos;
        else if (!digits())
            return Error("invalid number");
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            integral = false;
            if (!digits())
                return Error("invalid number");
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            integral = false;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            if (!digits())
                return Error("invalid number");
        }
        out->kind = JsonValue::Number;
        out->text = std::string(m_text.substr(start, m_pos - start));
        out->integral = integral;
        auto [ptr, ec] =
            std::from_chars(out->text.data(), out->text.data() + out->text.size(), out->number);
        if (ec == std::errc::result_out_of_range)
            return Error("number out of range");
        if (ec != std::errc() || ptr != out->text.data() + out->text.size())
            return Error("invalid number");
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string m_error;
};

// A JSON string literal. Valid UTF-8 passes through; bytes that are not UTF-8 become U+FFFD so
// the line stays valid JSON.
std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else {
                    out += static_cast<char>(c);
                }
            }
            ++i;
            continue;
        }
        std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        bool valid = length > 0 && c <= 0xF4 && i + length <= text.size();
        char32_t code = 0;
        if (valid) {
            code = c & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) {
                unsigned char next = static_cast<unsigned char>(text[i + k]);
                if ((next & 0xC0) != 0x80) {
                    valid = false;
                    break;
                }
                code = (code << 6) | (next & 0x3F);
            }
        }
        // Refuse overlong forms, surrogates and values past U+10FFFF.
        static const char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid &&
            (code < minimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            valid = false;
        if (valid) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value))
        return "null";
    char text[64];
    auto [ptr, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, ptr) : "null";
}

std::string ResultToJson(const VARIANT& v) {
    switch (v.vt) {
    case VT_BSTR:
        return JsonQuote(v.bstrVal);
    case VT_I2:
        return std::to_string(v.iVal);
    case VT_I4:
        return std::to_string(v.lVal);
    case VT_R8:
        return JsonNumber(v.dblVal);
    case VT_DATE:
        return JsonNumber(v.date);
    case VT_BOOL:
        return v.boolVal ? "true" : "false";
    case VT_ERROR:
        return std::to_string(v.scode);
    default:
        return "null";
    }
}

std::string ErrorLine(const std::string& description, HRESULT hr) {
    return "{\"error\": " + JsonQuote(description) + ", \"hresult\": \"" + HResultToHex(hr) + "\"}";
}

// ---- one input line ----------------------------------------------------------------------------

bool ToArgument(const JsonValue& value, VARIANT* out) {
    switch (value.kind) {
    case JsonValue::String:
        *out = MakeVariantBstr(value.text);
        return true;
    case JsonValue::Bool:
        *out = MakeVariantBool(value.boolean);
        return true;
    case JsonValue::Number:
        if (value.integral && value.number >= -2147483648.0 && value.number <= 2147483647.0)
            *out = MakeVariantI4(static_cast<std::int32_t>(value.number));
        else
            *out = MakeVariantR8(value.number);
        return true;
    case JsonValue::Null:
        VariantClear(out);
        return true;
    default:
        return false;
    }
}

bool ParseDispId(std::string_view text, DISPID* out) {
    if (text.empty())
        return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), *out);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// How a line uses its member: a call or get, a put ("Member="), or the question for the member's
// dispatch identifier ("Member?").
enum class Use { Call, Put, Identifier };

// The member named or numbered by the first element of a line; false with the error line.
bool ResolveMember(CDispatchDriver& driver, const JsonValue& head, DISPID* id, Use* use,
                   std::string* output) {
    *use = Use::Call;
    if (head.kind == JsonValue::Number && head.integral && head.number >= -2147483648.0 &&
        head.number <= 2147483647.0) {
        *id = static_cast<DISPID>(head.number);
        return true;
    }
    if (head.kind != JsonValue::String) {
        *output = ErrorLine("The first element must be a member name or a dispatch identifier.",
                            E_INVALIDARG);
        return false;
    }
    std::string name = head.text;
    if (!name.empty() && (name.back() == '=' || name.back() == '?')) {
        *use = name.back() == '=' ? Use::Put : Use::Identifier;
        name.pop_back();
    }
    if (ParseDispId(name, id))
        return true;
    LPCOLESTR names[1] = {name.c_str()};
    const HRESULT hr =
        driver.GetDispatch()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
    if (FAILED(hr)) {
        *output = ErrorLine(HResultDescription(hr) + " (" + name + ")", hr);
        return false;
    }
    return true;
}

// The arguments after the member; false with the error line.
bool ReadArguments(const JsonValue& request, std::vector<VARIANT>* args, std::string* output) {
    for (std::size_t i = 1; i < request.items.size(); ++i) {
        VARIANT arg;
        if (!ToArgument(request.items[i], &arg)) {
            *output = ErrorLine("Argument " + std::to_string(i) +
                                    " must be a string, number, true, false or null.",
                                DISP_E_TYPEMISMATCH);
            return false;
        }
        args->push_back(arg);
    }
    return true;
}

// Answers one line; false when the call failed.
bool HandleLine(CDispatchDriver& driver, std::string_view line, std::string* output) {
    JsonValue request;
    CJsonParser parser(line);
    if (!parser.ParseDocument(&request)) {
        *output = ErrorLine("Invalid JSON: " + parser.ErrorText(), E_INVALIDARG);
        return false;
    }
    if (request.kind != JsonValue::Array || request.items.empty()) {
        *output = ErrorLine("Each line must be a JSON array starting with a member name or "
                            "dispatch identifier.",
                            E_INVALIDARG);
        return false;
    }
    DISPID id = DISPID_UNKNOWN;
    Use use = Use::Call;
    std::vector<VARIANT> args;
    if (!ResolveMember(driver, request.items[0], &id, &use, output) ||
        !ReadArguments(request, &args, output))
        return false;
    if (use == Use::Identifier) {
        if (!args.empty()) {
            *output =
                ErrorLine("Asking for an identifier takes no arguments.", DISP_E_BADPARAMCOUNT);
            return false;
        }
        *output = std::to_string(id);
        return true;
    }
    if (use == Use::Put && args.size() != 1) {
        *output = ErrorLine("A property put takes exactly one value.", DISP_E_BADPARAMCOUNT);
        return false;
    }

    VARIANT result;
    EXCEPINFO excep;
    const bool put = use == Use::Put;
    const WORD flags = put ? DISPATCH_PROPERTYPUT : (DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    const HRESULT hr = driver.TryInvoke(id, flags, args, &result, &excep);
    if (FAILED(hr)) {
        std::string description = hr == DISP_E_EXCEPTION && !excep.bstrDescription.empty()
                                      ? excep.bstrDescription
                                      : HResultDescription(hr);
        *output = ErrorLine(description, hr);
        return false;
    }
    *output = put ? "null" : ResultToJson(result);
    return true;
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

int Usage() {
    std::fprintf(stderr, "usage: tessel-call [--progid PROGID] < calls.jsonl\n"
                         "Try 'tessel-call --help'.\n");
    return 2;
}

const char kHelpHead[] = "usage: tessel-call [--progid PROGID] < calls.jsonl\n"
                         "Creates one instance of the component registered under PROGID (default\n";
const char kHelp[] =
    ") and calls its members, one call per line of standard input.\n"
    "\n"
    "Each input line is a JSON array:\n"
    "  [\"Member\", arg...]   calls a method or gets a property, e.g. [\"GetHTMLBody\", 0, 1]\n"
    "  [\"Member=\", value]   puts a property, e.g. [\"Title=\", \"Site\"]\n"
    "  [\"Member?\"]          answers the member's dispatch identifier, e.g. 18 for\n"
    "                       [\"GetHTMLBody?\"]\n"
    "  [18, arg...]         the member may also be given by its dispatch identifier\n"
    "Arguments are strings, numbers (integers travel as 32-bit integers), true, false\n"
    "or null. Blank lines are skipped. Every call lasts the whole session, so later\n"
    "lines see what earlier lines did to the instance.\n"
    "\n"
    "Each call is answered by one JSON line: the result (a string, number, true, false,\n"
    "or null for a put), or {\"error\": \"...\", \"hresult\": \"0x...\"} when it failed.\n"
    "\n"
    "Besides the members of the widget interface, the component answers these\n"
    "read-only members (get or call; dispatch identifiers in brackets):\n"
    "  LastReadDamage (27)      what the last ReadConfigFile found missing in a damaged\n"
    "                           file; empty when the file was whole\n"
    "  LastError (28)           why the last ReadConfigFile or WriteConfigFile failed,\n"
    "                           as \"path: reason\"; empty after a success\n"
    "  LastCopyFailures (29)    the support files the last WriteConfigFile could not\n"
    "                           copy, one \"path: reason\" per line\n"
    "  GetWorkingDocument (30)  the widget file a save would write now; copies nothing\n"
    "  ReadRecoveryFile (31)    [\"ReadRecoveryFile\", path] reads such a file back with\n"
    "                           its support files in the folders they were in\n"
    "\n"
    "Exit status: 0 when every call succeeded, 1 when a call failed, 2 when the\n"
    "instance could not be created or the command line is wrong.\n"
    "\n"
    "Examples (paths to documents must be absolute):\n"
    "  Generate the web HTML (kind 1) of a widget document:\n"
    "    printf '%s\\n' '[\"ReadConfigFile\", \"/home/me/site/menu.tsl\"]' \\\n"
    "                   '[\"GetHTMLBody\", 0, 1]' | tessel-call\n"
    "  answers true, then the HTML of segment 0 as a JSON string.\n"
    "\n"
    "  List the support files of a widget document (name, local folder, web folder):\n"
    "    doc='[\"ReadConfigFile\", \"/home/me/site/menu.tsl\"]'\n"
    "    n=$(printf '%s\\n' \"$doc\" '[\"GetResourceNumber\"]' | tessel-call | tail -n 1)\n"
    "    { echo \"$doc\"; for ((i = 0; i < n; i++)); do\n"
    "        echo \"[\\\"GetResourceName\\\", $i]\"; echo \"[\\\"GetResourceLocalPath\\\", $i]\"\n"
    "        echo \"[\\\"GetResourceWebPath\\\", $i]\"; done; } | tessel-call\n"
    "\n"
    "  --progid PROGID  create this component instead\n"
    "  --help           show this text and exit\n"
    "  --version        show the version and exit\n";

} // namespace

int main(int argc, char** argv) {
    std::string progId = kFoldlineProgID;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help") {
            std::fputs(kHelpHead, stdout);
            std::fputs(kFoldlineProgID, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("tessel-call %s\n", FOLDLINE_VERSION);
            return 0;
        }
        if (arg == "--progid" && i + 1 < argc)
            progId = argv[++i];
        else if (arg.starts_with("--progid="))
            progId = std::string(arg.substr(9));
        else
            return Usage();
    }

    if (HRESULT hr = CoInitialize(nullptr); FAILED(hr)) {
        std::fprintf(stderr, "tessel-call: cannot use the classes root (%s)\n",
                     HResultToHex(hr).c_str());
        return 2;
    }
    int status = 0;
    {
        CDispatchDriver driver;
        CLSID clsid{};
        HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
        if (SUCCEEDED(hr))
            driver.CreateDispatch(clsid, &hr);
        if (FAILED(hr)) {
            std::fprintf(stderr, "tessel-call: cannot create %s: %s (%s)\n", progId.c_str(),
                         HResultDescription(hr).c_str(), HResultToHex(hr).c_str());
            status = 2;
        } else {
            std::string line;
            while (std::getline(std::cin, line)) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (IsBlank(line))
                    continue;
                std::string output;
                if (!HandleLine(driver, line, &output))
                    status = 1;
                std::fwrite(output.data(), 1, output.size(), stdout);
                std::fputc('\n', stdout);
                std::fflush(stdout);
            }
        }
    }
    CoUninitialize();
    return status;
}
