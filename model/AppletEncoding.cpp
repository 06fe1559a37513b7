#include "CAppletParameters.h"
#include "Paths.h"
#include "TreeWalk.h"

#include <cstdio>

using foldline::AcceptsItem;
using foldline::AcceptsMenu;

namespace {

std::string Str(int v) {
    return std::to_string(v);
}

std::string Join(std::initializer_list<std::string> fields) {
    std::string out;
    bool first = true;
    for (const auto& f : fields) {
        if (!first)
            out.push_back(',');
        out.append(f);
        first = false;
    }
    return out;
}

// A file field as the applet loads it: the preview folder (mode 0) or the web folder, joined
// directly to the file name.
std::string ResolvedFile(const std::string& file, const std::string& webFolder, int mode,
                         const std::string& previewFolder) {
    if (file.empty())
        return {};
    return (mode == kHtmlLocal ? previewFolder : webFolder) + FileNameOfPath(file);
}

std::string BackStyleCode(int backStyle) {
    const int s = backStyle < 0 || backStyle > 3 ? 0 : backStyle;
    return Str(s / 2) + Str(s % 2 + 1);
}

std::string StyleGroup(const StateStyle& s) {
    return Join({CAppletParameters::ColorToHex(s.BackColor),
                 CAppletParameters::ColorToHex(s.FontColor),
                 Str(s.GradientDir) + Str(s.BackKind) + Str(s.Border + 1), Str(s.Effect),
                 Str(s.FontName), Str(s.FontSize), Str(s.FontStyle),
                 Str(s.ImageAlign) + Str(s.TextAlign), Str(s.ImageOffset), Str(s.TextOffset)}) +
           ",,,";
}

} // namespace

std::string CAppletParameters::ColorToHex(COLORREF color) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", static_cast<unsigned>(color & 0xFFu),
                  static_cast<unsigned>((color >> 8) & 0xFFu),
                  static_cast<unsigned>((color >> 16) & 0xFFu));
    return text;
}

std::vector<CFurlinItem*> CAppletParameters::NumberMenus(bool visibleOnly) {
    std::vector<CFurlinItem*> collected;
    for (CFurlin* menu : foldline::NumberedMenus(m_menus, visibleOnly))
        for (const auto& item : menu->Items())
            if (AcceptsItem(*item, visibleOnly))
                collected.push_back(item.get());
    return collected;
}

std::vector<AppletParam> CAppletParameters::BuildAppletParams(int mode,
                                                              const std::string& previewFolder) {
    std::vector<AppletParam> params;
    const int backCode = BackKind == 0 ? 1 : BackKind + 5;
    params.emplace_back(
        "ApStyle",
        Join({ColorToHex(BackColor), ColorToHex(BackColor),
              ResolvedFile(BackImage, BackImageWebPath, mode, previewFolder), Str(ImageTile),
              Str(ImageX), Str(ImageY), ResolvedFile(Audio, AudioWebPath, mode, previewFolder),
              Str(ShowSelectionAlways), Str(OpenSpeed), Str(CloseSpeed), Str(DisplayAllBranches),
              Str(HasLines), Str(GradientDir) + Str(backCode) + Str(BackBorder), Str(LineIndent),
              Str(LineThick), ColorToHex(LineColor), Str(ProgressBar),
              foldline::EscapeCommas(LoadingMessage)}));

    const std::vector<CFurlin*> menus = foldline::NumberedMenus(m_menus, true);
    std::string counts;
    std::vector<CFurlinItem*> collected;
    for (CFurlin* menu : menus) {
        const int n = menu->Number;
        counts += Str(menu->GetItemCount(false)) + ",";
        menu->TopOffset = n == 0 ? MenuTop : 0;
        const std::string suffix = Str(n);
        params.emplace_back(
            "MStyle-" + suffix,
            Join({ColorToHex(menu->BackColor), BackStyleCode(menu->BackStyle), "0", "0",
                  Str(menu->Indent), Str(menu->TopOffset), Str(menu->ItemWidth),
                  Str(menu->ItemHeight), Str(menu->ItemGap), Str(menu->ItemBorder)}));
        params.emplace_back("IStyle-" + suffix, StyleGroup(menu->Normal) + StyleGroup(menu->Over) +
                                                    StyleGroup(menu->Click));
        int k = 0;
        for (const auto& item : menu->Items()) {
            if (!AcceptsItem(*item, true))
                continue;
            collected.push_back(item.get());
            const CFurlinItem& i = *item;
            params.emplace_back(
                "I" + suffix + "-" + Str(k++),
                Join({foldline::EscapeLabel(i.Label), i.Description,
                      ResolvedFile(i.NormalImage, i.NormalImageWebPath, mode, previewFolder),
                      ResolvedFile(i.OverImage, i.OverImageWebPath, mode, previewFolder),
                      ResolvedFile(i.ClickImage, i.ClickImageWebPath, mode, previewFolder),
                      ResolvedFile(i.OverAudio, i.OverAudioWebPath, mode, previewFolder),
                      ResolvedFile(i.ClickAudio, i.ClickAudioWebPath, mode, previewFolder),
                      i.TargetFrame.empty() ? std::string("_self") : i.TargetFrame, i.Link}));
        }
    }

    std::string misc = Str(static_cast<int>(menus.size())) + "," + counts;
    for (const auto& top : m_menus)
        if (AcceptsMenu(*top, true))
            misc.append("-").append(Str(top->Number)).append(",");
    for (std::size_t j = 0; j < collected.size(); ++j) {
        // Only a sub-menu emitted in this pass has a current number.
        const CFurlin* sub = collected[j]->GetSubMenu();
        if (AcceptsMenu(*sub, true))
            misc.append(Str(static_cast<int>(j))).append("-").append(Str(sub->Number)).append(",");
    }
    params.emplace_back("Misc", misc);
    return params;
}
