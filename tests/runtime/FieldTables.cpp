// Writes the model's record tables as JSON (names, kinds, applet places and forms, whether the
// markup carries them, defaults), so the runtime's tests can check furlin.js reads every field
// the markup and the applet encoding carry, where and as what they carry it.
#include "CAppletParameters.h"
#include "Records.h"
#include "WebText.h"

#include <iostream>
#include <string>

namespace {

using foldline::AppletForm;
using foldline::Field;
using foldline::FieldKind;

const char* KindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
        return "Text";
    case FieldKind::File:
        return "File";
    case FieldKind::WebFolder:
        return "WebFolder";
    case FieldKind::Number:
        return "Number";
    case FieldKind::Colour:
        return "Colour";
    case FieldKind::Look:
        return "Look";
    }
    return "";
}

const char* FormName(AppletForm form) {
    constexpr const char* names[] = {"Plain",         "Label",          "Commas",  "SelfWhenEmpty",
                                     "BackStyleCode", "BackgroundCode", "PlusOne", "Zero"};
    return names[static_cast<int>(form)];
}

// A default as the markup's data writes it: colours "#rrggbb", numbers, texts.
template <typename R> std::string DefaultOf(const R& record, const Field<R>& f) {
    std::string out;
    switch (f.kind) {
    case FieldKind::Number:
        return std::to_string(foldline::NumberOf(record, f));
    case FieldKind::Colour:
        return "\"#" + CAppletParameters::ColorToHex(foldline::ColourOf(record, f)) + "\"";
    case FieldKind::Look:
        return "null";
    default:
        foldline::AppendJsonString(out, foldline::TextOf(record, f));
        return out;
    }
}

template <typename R, std::size_t N>
void Table(const char* name, const std::array<Field<R>, N>& fields, const R& defaults, bool last) {
    std::cout << "\"" << name << "\":[";
    for (std::size_t i = 0; i < N; ++i) {
        const Field<R>& f = fields[i];
        std::cout << (i ? "," : "") << "\n{\"name\":\"" << f.name << "\",\"kind\":\""
                  << KindName(f.kind) << "\",\"inMarkup\":" << (f.inMarkup ? "true" : "false")
                  << ",\"appletAt\":" << f.appletAt << ",\"appletPart\":" << f.appletPart
                  << ",\"appletForm\":\"" << FormName(f.appletForm)
                  << "\",\"default\":" << DefaultOf(defaults, f) << "}";
    }
    std::cout << "]" << (last ? "" : ",") << "\n";
}

} // namespace

int main() {
    const CAppletParameters applet;
    const CFurlin menu;
    const StateStyle look;
    const CFurlinItem item;
    std::cout << "{";
    Table("applet", foldline::kAppletFields, applet, false);
    Table("menu", foldline::kMenuFields, menu, false);
    Table("look", foldline::kLookFields, look, false);
    Table("item", foldline::kItemFields, item, true);
    std::cout << "}\n";
    return 0;
}
