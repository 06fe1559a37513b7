// Builders of model trees shared by the model tests.
#pragma once

#include "CAppletParameters.h"
#include "CFurlin.h"

#include <string>
#include <vector>

namespace testing_model {

// Appends an item with a label and a link to a menu.
inline CFurlinItem* AddItem(CFurlin& menu, const std::string& label, const std::string& link) {
    auto item = std::make_unique<CFurlinItem>();
    item->Label = label;
    item->Link = link;
    CFurlinItem* raw = item.get();
    menu.AddItem(std::move(item), false);
    return raw;
}

inline StateStyle DistinctStyle(int seed) {
    StateStyle s;
    s.BackColor = 0x010203u * static_cast<COLORREF>(seed + 1);
    s.FontColor = 0x0A0B0Cu + static_cast<COLORREF>(seed);
    s.Border = 2;
    s.BackKind = 7;
    s.GradientDir = 0;
    s.Effect = 3;
    s.FontName = 2;
    s.FontSize = 20 + seed;
    s.FontStyle = 1;
    s.TextAlign = 2;
    s.TextOffset = 4 + seed;
    s.ImageAlign = 1;
    s.ImageOffset = 6 + seed;
    s.Extra = "extra" + std::to_string(seed);
    return s;
}

inline void SetAllMenuFields(CFurlin& m, int seed) {
    m.Name = "menu" + std::to_string(seed);
    m.BackColor = 0x123456u + static_cast<COLORREF>(seed);
    m.BackStyle = 3;
    m.Reserved1 = 11 + seed;
    m.Reserved2 = 12 + seed;
    m.Indent = 13 + seed;
    m.TopOffset = 14 + seed;
    m.ItemWidth = 15 + seed;
    m.ItemHeight = 16 + seed;
    m.ItemGap = 17 + seed;
    m.ItemBorder = 18 + seed;
    m.Normal = DistinctStyle(seed);
    m.Over = DistinctStyle(seed + 100);
    m.Click = DistinctStyle(seed + 200);
}

// Every text set, with commas, both escapes' characters around and a CR LF line break in the
// label; the paths use both separators.
inline void SetAllItemFields(CFurlinItem& i, const std::string& tag) {
    i.Label = "L" + tag + ",a\r\nb,c";
    i.Description = "desc " + tag + ", with comma";
    i.NormalImage = "D:\\pics\\n" + tag + ".gif";
    i.NormalImageWebPath = "img/n/";
    i.OverImage = "/home/u/o" + tag + ".gif";
    i.OverImageWebPath = "img/o/";
    i.ClickImage = "c" + tag + ".gif";
    i.ClickImageWebPath = "img/c/";
    i.OverAudio = "D:\\snd\\oa" + tag + ".au";
    i.OverAudioWebPath = "snd/o/";
    i.ClickAudio = "/snd/ca" + tag + ".au";
    i.ClickAudioWebPath = "snd/c/";
    i.TargetFrame = "_blank";
    i.Link = "http://example.test/p?a=1,b=2&c=" + tag;
    i.Visible = 1;
}

// The fields of a node as comparable lists, so a test names the node instead of every field.
inline std::vector<std::string> ItemFields(const CFurlinItem& i) {
    return {i.Label,
            i.Description,
            i.NormalImage,
            i.NormalImageWebPath,
            i.OverImage,
            i.OverImageWebPath,
            i.ClickImage,
            i.ClickImageWebPath,
            i.OverAudio,
            i.OverAudioWebPath,
            i.ClickAudio,
            i.ClickAudioWebPath,
            i.TargetFrame,
            i.Link,
            std::to_string(i.Visible)};
}

inline std::vector<long long> MenuNumbers(const CFurlin& m) {
    return {m.BackColor, m.BackStyle,  m.Reserved1, m.Reserved2,  m.Indent, m.TopOffset,
            m.ItemWidth, m.ItemHeight, m.ItemGap,   m.ItemBorder, m.Visible};
}

inline std::vector<std::string> AppletFields(const CAppletParameters& a) {
    std::vector<std::string> out{a.WebPath,          a.LocalPath, a.Name,         a.BackImage,
                                 a.BackImageWebPath, a.Audio,     a.AudioWebPath, a.LoadingMessage};
    for (long long v : {static_cast<long long>(a.BackColor), static_cast<long long>(a.LineColor)})
        out.push_back(std::to_string(v));
    for (int v :
         {a.Align, a.Width, a.Height, a.ImageTile, a.ImageX, a.ImageY, a.ShowSelectionAlways,
          a.OpenSpeed, a.CloseSpeed, a.DisplayAllBranches, a.HasLines, a.BackBorder, a.BackKind,
          a.GradientDir, a.LineIndent, a.LineThick, a.MenuTop, a.ProgressBar})
        out.push_back(std::to_string(v));
    return out;
}

// A chain of `levels` menus: `root` plus levels - 1 nested sub-menus, one item each.
inline void BuildChain(CFurlin& root, int levels) {
    CFurlin* menu = &root;
    for (int level = 1; level < levels; ++level) {
        CFurlinItem* item = menu->InsertNewItem();
        item->Label = "level" + std::to_string(level);
        menu = item->GetSubMenu();
    }
}

inline int ChainDepth(const CFurlin& root) {
    int depth = 1;
    for (const CFurlin* m = &root; !m->Items().empty(); m = m->Items()[0]->GetSubMenu())
        ++depth;
    return depth;
}

} // namespace testing_model
