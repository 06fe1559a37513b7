// tessel-call [--progid PROGID]: a command-line automation client. Creates one instance by ProgID
// and answers each line of standard input, a JSON array ["Member", args...] or ["Title=", value],
// with one JSON line: the result, or {"error": "...", "hresult": "0x..."}.
#include "Com.h"
#include "DispatchDriver.h"
#include "FoldlineDispatch.h"
#include "Json.h"

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

using foldline::JsonQuote;
using foldline::JsonValue;

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
    std::string error;
    if (!foldline::ParseJson(line, request, error)) {
        *output = ErrorLine("Invalid JSON: " + error, E_INVALIDARG);
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
    "(dispatch identifiers in brackets):\n"
    "  PublishToSite (27)       [\"PublishToSite\", SITE, dryRun] publishes the menu into\n"
    "                           the marked pages of SITE; answers the report\n"
    "  CheckLinks (28)          [\"CheckLinks\", SITE]: node, path, link, reason per line\n"
    "  GetItemLinks (29)        each linked item's node, path and link, one per line\n"
    "  ImportSite (30)          [\"ImportSite\", SITE] makes the menu from a site folder\n"
    "  ExportJSON (31)          [\"ExportJSON\", FILE] writes the menu tree as JSON\n"
    "  ImportJSON (32)          [\"ImportJSON\", FILE] reads the menu tree from JSON\n"
    "  ConfigSelection (33)     [\"ConfigSelection=\", \"0.1\"] names the item Config\n"
    "                           opens at\n"
    "and these read-only members (get or call):\n"
    "  LastReadDamage (34)      what the last ReadConfigFile found missing in a damaged\n"
    "                           file; empty when the file was whole\n"
    "  LastError (35)           why the last ReadConfigFile or WriteConfigFile failed,\n"
    "                           as \"path: reason\"; empty after a success\n"
    "  LastCopyFailures (36)    the support files the last WriteConfigFile could not\n"
    "                           copy, one \"path: reason\" per line\n"
    "  GetWorkingDocument (37)  the widget file a save would write now; copies nothing\n"
    "  ReadRecoveryFile (38)    [\"ReadRecoveryFile\", path] reads such a file back with\n"
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
    "  Publish a widget's menu into the marked pages of a site folder (false: not a dry\n"
    "  run; the report's first line counts the pages, each further line is a problem):\n"
    "    printf '%s\\n' '[\"ReadConfigFile\", \"/home/me/menu.tsl\"]' \\\n"
    "                   '[\"PublishToSite\", \"/home/me/site\", false]' | tessel-call\n"
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
