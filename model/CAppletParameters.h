// The root of the widget model: applet-wide settings and the top-level menus.
#pragma once

#include "CFurlin.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CTesselFile;

using AppletParam = std::pair<std::string, std::string>; // name, value

// Kind of HTML / file references: 0 local (preview folder), 1 web (web folders).
enum { kHtmlLocal = 0, kHtmlWeb = 1 };

class CAppletParameters : public CObject {
public:
    DECLARE_SERIAL(CAppletParameters)

    CAppletParameters();
    CAppletParameters(const CAppletParameters&) = delete;
    CAppletParameters& operator=(const CAppletParameters&) = delete;
    ~CAppletParameters() override;

    // The folder of the component library, without a trailing separator. LocalPath defaults to it
    // followed by "/". Set once when the library is loaded.
    static void SetComponentFolder(const std::string& folder);
    static const std::string& ComponentFolder();

    void Reset();
    void Assign(const CAppletParameters& other);
    static std::string ColorToHex(COLORREF color);

    // Tree operations on Menus.
    CFurlin* InsertNewMenu();
    bool AddMenu(std::unique_ptr<CFurlin> menu, bool atFront);
    bool AddMenuCopy(const CFurlin* menu);
    bool DeleteMenu(const CFurlin* menu);
    bool MoveMenuUp(const CFurlin* menu);
    bool MoveMenuDown(const CFurlin* menu);
    int IndexOfMenu(const CFurlin* menu) const;
    const std::vector<std::unique_ptr<CFurlin>>& Menus() const { return m_menus; }
    static CFurlin* FindParentMenu(CFurlin* root, const CFurlinItem* item);
    CFurlin* FindMenuAtDepth(int depth) const;
    static void ApplyImages(CFurlin* menu, const std::string& normal, const std::string& normalWeb,
                            const std::string& over, const std::string& overWeb,
                            const std::string& click, const std::string& clickWeb, bool recursive);
    static void ApplyAudio(CFurlin* menu, const std::string& over, const std::string& overWeb,
                           const std::string& click, const std::string& clickWeb, bool recursive);

    // The depth-first walk every encoder shares, in pre-order. The full walk accepts everything;
    // the visible walk skips hidden items and hidden menus or menus without a visible item, with
    // what lies below them. NumberMenus gives every accepted menu its Number and returns them in
    // number order; CollectItems returns the accepted items grouped by menu and numbers nothing.
    std::vector<CFurlin*> NumberMenus(bool visibleOnly);
    std::vector<CFurlinItem*> CollectItems(bool visibleOnly);
    // Every file reference with its web folder in the order of the support-file list: the
    // applet's own, then those of each item of the full walk.
    void ForEachFileReference(
        const std::function<void(std::string& file, const std::string& webFolder)>& visit);

    // The encoders, written as free functions in Encoders.h; these members call them.
    // The applet encoding.
    std::vector<AppletParam> BuildAppletParams(int mode, const std::string& previewFolder);
    // The applet HTML fragment; rebuilds the document's resource list first.
    std::string GetAppletHtml(CTesselFile& document, int mode);
    // The markup for today's browsers (ModernMarkup.h); rebuilds the resource list first too.
    std::string GetModernHtml(CTesselFile& document, int mode);
    // Align as a word: "Center" (any unknown value), "Left" or "Right".
    static const char* AlignWord(int align);
    // The document's "PreviewPath", read without adding the key.
    static std::string PreviewFolder(const CTesselFile& document);
    // The support-file list; drops references to files that no longer exist.
    std::uint16_t BuildResourceList(CTesselFile& document);

    // The stored parameter table. ReadParameters expects a freshly Reset model; a damaged table
    // leaves the applet-wide fields and no menus, and returns false.
    void WriteParameters(CTesselFile& document);
    bool ReadParameters(CTesselFile& document, const std::string& folder);

    void Serialize(CArchive& ar) override; // writes and reads nothing

    std::string WebPath;
    std::string LocalPath;
    std::string Name = "My Foldline";
    int Align = 0; // 0 Center, 1 Left, 2 Right
    int Width = 200;
    int Height = 400;
    COLORREF BackColor = 0;
    std::string BackImage;
    std::string BackImageWebPath;
    int ImageTile = 0;
    int ImageX = 0;
    int ImageY = 0;
    std::string Audio;
    std::string AudioWebPath;
    int ShowSelectionAlways = 1;
    int OpenSpeed = 5;
    int CloseSpeed = 5;
    int DisplayAllBranches = 0;
    int HasLines = 1;
    int BackBorder = 0;
    int BackKind = 1;
    int GradientDir = 1;
    int LineIndent = 0;
    int LineThick = 5;
    COLORREF LineColor = 5;
    int MenuTop = 0;
    int ProgressBar = 1;
    std::string LoadingMessage = "Loading Image...";
    // Read by today's browsers alone (the markup of kinds 2 and 3), stored in "WebStyle".
    int FixedBox = 0;       // keeps the Width x Height box instead of a fluid menu
    int CompactBelow = 640; // container width in CSS px below which the menu folds; 0 never
    int Direction = 0;      // 0 Automatic, 1 Left to Right, 2 Right to Left

private:
    std::vector<std::unique_ptr<CFurlin>> m_menus;
};

// Parameter table helpers: a value's first `count` fields, unescaped (missing ones empty), and
// its token at `index` as it stands (at most 10,239 characters; empty beyond the last).
std::vector<std::string> SplitFields(const std::string& text, int count, char separator);
std::string GetToken(const std::string& text, int index, char separator);
