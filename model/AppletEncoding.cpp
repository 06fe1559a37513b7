#include "Encoders.h"
#include "Paths.h"
#include "Records.h"
#include "TextEscapes.h"
#include "TreeWalk.h"

#include <cstdio>

using foldline::AcceptsItem;
using foldline::AcceptsMenu;
using foldline::AppletForm;
using foldline::FieldKind;
using foldline::kAppletOrder;
using foldline::kNoSlot;
using foldline::Rows;

namespace {

std::string Str(long long v) {
    return std::to_string(v);
}

// Where file references point: the preview folder (mode 0) or each file's web folder.
struct FileTarget {
    int mode;
    const std::string& previewFolder;
};

// A file field as the applet loads it: the chosen folder joined directly to the file name.
std::string ResolvedFile(const std::string& file, const std::string& webFolder,
                         const FileTarget& target) {
    if (file.empty())
        return {};
    return (target.mode == kHtmlLocal ? target.previewFolder : webFolder) +
           std::string(FileNamePart(file));
}

std::string NumberText(int v, AppletForm form) {
    switch (form) {
    case AppletForm::BackStyleCode: {
        const int s = v < 0 || v > 3 ? 0 : v;
        return Str(s / 2) + Str(s % 2 + 1);
    }
    case AppletForm::BackgroundCode:
        return Str(v == 0 ? 1 : static_cast<long long>(v) + 5);
    case AppletForm::PlusOne:
        return Str(static_cast<long long>(v) + 1);
    case AppletForm::Zero:
        return "0";
    default:
        return Str(v);
    }
}

std::string TextText(const std::string& text, AppletForm form) {
    switch (form) {
    case AppletForm::Label:
        return foldline::EscapeLabel(text);
    case AppletForm::Commas:
        return foldline::EscapeCommas(text);
    case AppletForm::SelfWhenEmpty:
        return text.empty() ? std::string("_self") : text;
    default:
        return text;
    }
}

template <typename R>
std::string FieldText(const R& record, const foldline::Field<R>& f, const FileTarget& target) {
    switch (f.kind) {
    case FieldKind::File:
        return ResolvedFile(foldline::TextOf(record, f), record.*f.webFolder, target);
    case FieldKind::Number:
        return NumberText(foldline::NumberOf(record, f), f.appletForm);
    case FieldKind::Colour:
        return encoders::ColorToHex(foldline::ColourOf(record, f));
    case FieldKind::Look:
        return {};
    default:
        return TextText(foldline::TextOf(record, f), f.appletForm);
    }
}

template <const auto& Fields, typename R>
std::string AppletValue(const R& record, const FileTarget& target) {
    std::string value;
    bool first = true;
    for (const auto& parts : kAppletOrder<Fields, Rows::Values>) {
        if (!first)
            value.push_back(',');
        first = false;
        for (int row : parts)
            if (row != kNoSlot)
                value += FieldText(record, Fields[static_cast<std::size_t>(row)], target);
    }
    return value;
}

std::string AppletLooks(const CFurlin& menu, const FileTarget& target) {
    std::string value;
    for (const auto& parts : kAppletOrder<foldline::kMenuFields, Rows::Looks>) {
        const auto& look = foldline::kMenuFields[static_cast<std::size_t>(parts[0])];
        value += AppletValue<foldline::kLookFields>(foldline::LookOf(menu, look), target);
        value += foldline::kLookGroupEnd;
    }
    return value;
}

// One emitted menu: its style pair and its visible items, numbered from 0.
void EmitMenu(std::vector<AppletParam>& params, CFurlin& menu, int menuTop,
              const FileTarget& target) {
    const int n = menu.Number;
    menu.TopOffset = n == 0 ? menuTop : 0;
    const std::string suffix = Str(n);
    params.emplace_back("MStyle-" + suffix, AppletValue<foldline::kMenuFields>(menu, target));
    params.emplace_back("IStyle-" + suffix, AppletLooks(menu, target));
    int k = 0;
    for (const auto& item : menu.Items())
        if (AcceptsItem(*item, true))
            params.emplace_back("I" + suffix + "-" + Str(k++),
                                AppletValue<foldline::kItemFields>(*item, target));
}

} // namespace

std::string encoders::ColorToHex(COLORREF color) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", static_cast<unsigned>(color & 0xFFu),
                  static_cast<unsigned>((color >> 8) & 0xFFu),
                  static_cast<unsigned>((color >> 16) & 0xFFu));
    return text;
}

std::vector<AppletParam> encoders::BuildAppletParams(CAppletParameters& applet, int mode,
                                                     const std::string& previewFolder) {
    const FileTarget target{mode, previewFolder};
    std::vector<AppletParam> params;
    params.emplace_back("ApStyle", AppletValue<foldline::kAppletFields>(applet, target));

    const std::vector<CFurlin*> menus = applet.NumberMenus(true);
    std::string misc = Str(static_cast<long long>(menus.size())) + ",";
    for (CFurlin* menu : menus) {
        misc += Str(menu->GetItemCount(false)) + ",";
        EmitMenu(params, *menu, applet.MenuTop, target);
    }
    for (const auto& top : applet.Menus())
        if (AcceptsMenu(*top, true))
            misc.append("-").append(Str(top->Number)).append(",");
    std::size_t j = 0;
    for (CFurlinItem* item : applet.CollectItems(true)) {
        // Only a sub-menu emitted in this pass has a current number.
        const CFurlin* sub = item->GetSubMenu();
        if (AcceptsMenu(*sub, true))
            misc.append(Str(static_cast<long long>(j)))
                .append("-")
                .append(Str(sub->Number))
                .append(",");
        ++j;
    }
    params.emplace_back("Misc", misc);
    return params;
}
