#include "CAppletParameters.h"
#include "CTesselFile.h"
#include "Paths.h"
#include "TreeWalk.h"

#include <string_view>

using foldline::LeadingInt;
using foldline::LeadingInt64;

namespace {

constexpr std::size_t kMaxTokenLength = 10239;

std::string Str(long long v) {
    return std::to_string(v);
}
std::string Color(COLORREF c) {
    return std::to_string(c);
}

// Every text goes through both escapes so that no field can carry a raw separator or break the
// line it is stored on. A lone CR or LF is stored like a CR LF pair.
std::string Stored(const std::string& text) {
    std::string lines = foldline::ReplaceAll(text, "\r\n", foldline::kLineBreakEscape);
    lines = foldline::ReplaceAll(lines, "\r", foldline::kLineBreakEscape);
    lines = foldline::ReplaceAll(lines, "\n", foldline::kLineBreakEscape);
    return foldline::EscapeCommas(lines);
}

// Colours are stored as the decimal number of the unsigned value; wrap rather than saturate so
// every value written reads back as itself.
COLORREF ColorOf(const std::string& text) {
    return static_cast<COLORREF>(static_cast<unsigned long long>(LeadingInt64(text)));
}

std::string StoredFile(const std::string& path) {
    return Stored(FileNameOfPath(path));
}

class FieldList {
public:
    FieldList& operator<<(const std::string& field) {
        if (!m_first)
            m_text.push_back(',');
        m_text.append(field);
        m_first = false;
        return *this;
    }
    FieldList& operator<<(long long v) { return *this << Str(v); }
    FieldList& operator<<(int v) { return *this << Str(v); }
    FieldList& operator<<(COLORREF c) { return *this << Color(c); }
    std::string Take() { return std::move(m_text); }

private:
    std::string m_text;
    bool m_first = true;
};

std::string StoredStyleGroup(const StateStyle& s) {
    FieldList f;
    f << s.BackColor << s.FontColor << s.BackKind << s.Effect << s.FontName << s.FontSize
      << s.FontStyle << s.ImageAlign << s.TextAlign << s.ImageOffset << s.TextOffset
      << s.GradientDir << s.Border;
    return f.Take() + ",,,";
}

void ReadStyleGroup(StateStyle& s, const std::vector<std::string>& f, std::size_t at) {
    s.BackColor = ColorOf(f[at + 0]);
    s.FontColor = ColorOf(f[at + 1]);
    s.BackKind = LeadingInt(f[at + 2]);
    s.Effect = LeadingInt(f[at + 3]);
    s.FontName = LeadingInt(f[at + 4]);
    s.FontSize = LeadingInt(f[at + 5]);
    s.FontStyle = LeadingInt(f[at + 6]);
    s.ImageAlign = LeadingInt(f[at + 7]);
    s.TextAlign = LeadingInt(f[at + 8]);
    s.ImageOffset = LeadingInt(f[at + 9]);
    s.TextOffset = LeadingInt(f[at + 10]);
    s.GradientDir = LeadingInt(f[at + 11]);
    s.Border = LeadingInt(f[at + 12]);
}

// Tokens cut at every separator, as GetToken sees them; a trailing separator gives an empty last
// token.
std::vector<std::string_view> Tokens(std::string_view text, char separator) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    for (;;) {
        const std::size_t pos = text.find(separator, start);
        const std::size_t end = pos == std::string_view::npos ? text.size() : pos;
        tokens.push_back(text.substr(start, std::min(end - start, kMaxTokenLength)));
        if (pos == std::string_view::npos)
            break;
        start = pos + 1;
    }
    return tokens;
}

std::string FileIn(const std::string& folder, const std::string& storedName) {
    return storedName.empty() ? std::string() : folder + FileNameOfPath(storedName);
}

// Checks that the links make a forest with every menu owned exactly once and at most kMaxDepth
// levels deep. parent[s] is the menu holding the owning item, or -1 for a top-level menu.
bool IsShallowForest(const std::vector<long long>& parent) {
    const std::size_t count = parent.size();
    std::vector<int> depth(count, 0); // 0 unknown, -1 on the current path
    std::vector<std::size_t> path;
    for (std::size_t start = 0; start < count; ++start) {
        std::size_t s = start;
        int base = 0;
        while (true) {
            if (depth[s] > 0) {
                base = depth[s];
                break;
            }
            if (depth[s] < 0)
                return false; // a cycle
            depth[s] = -1;
            path.push_back(s);
            if (parent[s] < 0)
                break;
            s = static_cast<std::size_t>(parent[s]);
        }
        while (!path.empty()) {
            depth[path.back()] = ++base;
            path.pop_back();
            if (base > kMaxDepth)
                return false;
        }
    }
    return true;
}

} // namespace

void CAppletParameters::WriteParameters(CTesselFile& document) {
    document.ClearParameters();
    document.SetParameter("Version", "1.1");

    FieldList ap;
    ap << Stored(Name) << Align << Width << Height << BackColor << BackColor
       << StoredFile(BackImage) << ImageTile << ImageX << ImageY << StoredFile(Audio)
       << ShowSelectionAlways << OpenSpeed << CloseSpeed << DisplayAllBranches << HasLines
       << BackBorder << BackKind << GradientDir << LineIndent << LineThick << LineColor << MenuTop
       << Stored(BackImageWebPath) << Stored(AudioWebPath) << Stored(WebPath) << ProgressBar
       << Stored(LoadingMessage);
    document.SetParameter("ApStyle", ap.Take());

    const std::vector<CFurlin*> menus = foldline::NumberedMenus(m_menus, false);
    std::string misc = Str(static_cast<long long>(menus.size())) + ",";
    std::vector<const CFurlinItem*> collected;
    for (const CFurlin* menu : menus) {
        misc += Str(menu->GetItemCount(true)) + ",";
        const std::string suffix = Str(menu->Number);
        FieldList ms;
        ms << menu->BackColor << menu->BackStyle << menu->Reserved1 << menu->Reserved2
           << menu->Indent << menu->TopOffset << menu->ItemWidth << menu->ItemHeight
           << menu->ItemGap << menu->ItemBorder << Stored(menu->Name) << menu->Visible;
        document.SetParameter("MStyle-" + suffix, ms.Take());
        document.SetParameter("IStyle-" + suffix, StoredStyleGroup(menu->Normal) +
                                                      StoredStyleGroup(menu->Over) +
                                                      StoredStyleGroup(menu->Click));
        long long k = 1;
        for (const auto& item : menu->Items()) {
            collected.push_back(item.get());
            const CFurlinItem& i = *item;
            FieldList f;
            f << Stored(i.Label) << Stored(i.Description) << Stored(i.Link) << Stored(i.TargetFrame)
              << StoredFile(i.NormalImage) << StoredFile(i.OverImage) << StoredFile(i.ClickImage)
              << StoredFile(i.OverAudio) << StoredFile(i.ClickAudio) << i.Visible
              << Stored(i.NormalImageWebPath) << Stored(i.OverImageWebPath)
              << Stored(i.ClickImageWebPath) << Stored(i.OverAudioWebPath)
              << Stored(i.ClickAudioWebPath);
            document.SetParameter("I" + suffix + "-" + Str(k++), f.Take());
        }
    }
    for (const auto& top : m_menus)
        misc.append("-").append(Str(top->Number)).append(",");
    for (std::size_t j = 0; j < collected.size(); ++j)
        misc.append(Str(static_cast<long long>(j)))
            .append("-")
            .append(Str(collected[j]->GetSubMenu()->Number))
            .append(",");
    document.SetParameter("Misc", misc);
}

bool CAppletParameters::ReadParameters(CTesselFile& document, const std::string& folder) {
    const CTesselMap& table = document.Parameters();
    const std::size_t tableSize = table.Size();
    const std::string* apStyle = table.Find("ApStyle");
    const std::vector<std::string> a = SplitFields(apStyle ? *apStyle : std::string(), 28, ',');
    Name = a[0];
    Align = LeadingInt(a[1]);
    Width = LeadingInt(a[2]);
    Height = LeadingInt(a[3]);
    BackColor = ColorOf(a[4]);
    BackImage = FileIn(folder, a[6]);
    ImageTile = LeadingInt(a[7]);
    ImageX = LeadingInt(a[8]);
    ImageY = LeadingInt(a[9]);
    Audio = FileIn(folder, a[10]);
    ShowSelectionAlways = LeadingInt(a[11]);
    OpenSpeed = LeadingInt(a[12]);
    CloseSpeed = LeadingInt(a[13]);
    DisplayAllBranches = LeadingInt(a[14]);
    HasLines = LeadingInt(a[15]);
    BackBorder = LeadingInt(a[16]);
    BackKind = LeadingInt(a[17]);
    GradientDir = LeadingInt(a[18]);
    LineIndent = LeadingInt(a[19]);
    LineThick = LeadingInt(a[20]);
    LineColor = ColorOf(a[21]);
    MenuTop = LeadingInt(a[22]);
    BackImageWebPath = a[23];
    AudioWebPath = a[24];
    WebPath = a[25];
    ProgressBar = LeadingInt(a[26]);
    LoadingMessage = a[27];

    const std::string* miscValue = table.Find("Misc");
    if (miscValue == nullptr || miscValue->empty())
        return true;
    const std::vector<std::string_view> misc = Tokens(*miscValue, ',');
    const long long menuCount = LeadingInt64(std::string(misc[0]));
    if (menuCount == 0)
        return true;
    // Every count must be backed by the table: 1 + 2M entries in "Misc", two style parameters
    // per menu and one parameter per item. Nothing is allocated before these hold.
    if (menuCount < 0 || static_cast<unsigned long long>(menuCount) > tableSize / 2 ||
        misc.size() < 1 + 2 * static_cast<std::size_t>(menuCount))
        return false;
    const auto m = static_cast<std::size_t>(menuCount);
    std::vector<long long> itemCounts(m);
    unsigned long long totalItems = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const long long c = LeadingInt64(std::string(misc[i + 1]));
        itemCounts[i] = c < 0 ? 0 : c;
        totalItems += static_cast<unsigned long long>(itemCounts[i]);
        if (totalItems > tableSize)
            return false;
    }

    std::vector<std::unique_ptr<CFurlin>> menus;
    menus.reserve(m);
    std::vector<CFurlinItem*> items;
    std::vector<std::size_t> menuOfItem;
    items.reserve(static_cast<std::size_t>(totalItems));
    menuOfItem.reserve(static_cast<std::size_t>(totalItems));
    for (std::size_t i = 0; i < m; ++i) {
        auto menu = std::make_unique<CFurlin>("Menu");
        const std::string suffix = Str(static_cast<long long>(i));
        const std::string* mStyle = table.Find("MStyle-" + suffix);
        const std::string* iStyle = table.Find("IStyle-" + suffix);
        if (mStyle == nullptr || mStyle->empty() || iStyle == nullptr || iStyle->empty())
            return false;
        const std::vector<std::string> ms = SplitFields(*mStyle, 12, ',');
        menu->BackColor = ColorOf(ms[0]);
        menu->BackStyle = LeadingInt(ms[1]);
        menu->Reserved1 = LeadingInt(ms[2]);
        menu->Reserved2 = LeadingInt(ms[3]);
        menu->Indent = LeadingInt(ms[4]);
        menu->TopOffset = LeadingInt(ms[5]);
        menu->ItemWidth = LeadingInt(ms[6]);
        menu->ItemHeight = LeadingInt(ms[7]);
        menu->ItemGap = LeadingInt(ms[8]);
        menu->ItemBorder = LeadingInt(ms[9]);
        menu->Visible = LeadingInt(ms[11]);
        const std::vector<std::string> is = SplitFields(*iStyle, 45, ',');
        ReadStyleGroup(menu->Normal, is, 0);
        ReadStyleGroup(menu->Over, is, 15);
        ReadStyleGroup(menu->Click, is, 30);

        for (long long k = 1; k <= itemCounts[i]; ++k) {
            const std::string* value = table.Find("I" + suffix + "-" + Str(k));
            if (value == nullptr || value->empty())
                return false;
            const std::vector<std::string> f = SplitFields(*value, 15, ',');
            auto item = std::make_unique<CFurlinItem>();
            item->Label = f[0];
            item->Description = f[1];
            item->Link = f[2];
            item->TargetFrame = f[3];
            item->NormalImage = FileIn(folder, f[4]);
            item->OverImage = FileIn(folder, f[5]);
            item->ClickImage = FileIn(folder, f[6]);
            item->OverAudio = FileIn(folder, f[7]);
            item->ClickAudio = FileIn(folder, f[8]);
            item->Visible = LeadingInt(f[9]);
            item->NormalImageWebPath = f[10];
            item->OverImageWebPath = f[11];
            item->ClickImageWebPath = f[12];
            item->OverAudioWebPath = f[13];
            item->ClickAudioWebPath = f[14];
            items.push_back(item.get());
            menuOfItem.push_back(i);
            menu->AddItem(std::move(item), false);
        }
        menus.push_back(std::move(menu));
    }

    // Links. A table naming a menu or item that does not exist, giving a menu or an item a second
    // owner, or linking in a cycle is damaged; nothing is attached until all links check out.
    constexpr long long kUnlinked = -2;
    std::vector<long long> parent(m, kUnlinked);
    std::vector<long long> ownerItem(m, -1);
    std::vector<char> itemLinked(items.size(), 0);
    for (std::size_t t = 0; t < m; ++t) {
        const std::string link(misc[m + 1 + t]);
        const std::size_t dash = link.find('-');
        if (dash == std::string::npos)
            return false;
        const std::string before = GetToken(link, 0, '-');
        const long long s = LeadingInt64(GetToken(link, 1, '-'));
        if (s < 0 || static_cast<std::size_t>(s) >= m ||
            parent[static_cast<std::size_t>(s)] != kUnlinked)
            return false;
        if (before.empty()) {
            parent[static_cast<std::size_t>(s)] = -1;
            continue;
        }
        const long long j = LeadingInt64(before);
        if (j < 0 || static_cast<std::size_t>(j) >= items.size() ||
            itemLinked[static_cast<std::size_t>(j)])
            return false;
        itemLinked[static_cast<std::size_t>(j)] = 1;
        parent[static_cast<std::size_t>(s)] =
            static_cast<long long>(menuOfItem[static_cast<std::size_t>(j)]);
        ownerItem[static_cast<std::size_t>(s)] = j;
    }
    if (!IsShallowForest(parent))
        return false;

    for (std::size_t t = 0; t < m; ++t) {
        const std::string link(misc[m + 1 + t]);
        const auto s = static_cast<std::size_t>(LeadingInt64(GetToken(link, 1, '-')));
        if (parent[s] == -1)
            AddMenu(std::move(menus[s]), false);
        else
            items[static_cast<std::size_t>(ownerItem[s])]->SetSubMenu(std::move(menus[s]));
    }
    return true;
}

std::vector<std::string> SplitFields(const std::string& text, int count, char separator) {
    std::vector<std::string> fields;
    if (count <= 0)
        return fields;
    const auto wanted = static_cast<std::size_t>(count);
    fields.reserve(wanted);
    std::size_t start = 0;
    while (start < text.size() && fields.size() < wanted) {
        const std::size_t pos = text.find(separator, start);
        if (pos == std::string::npos) {
            fields.push_back(foldline::Unescape(text.substr(start), separator));
            break;
        }
        fields.push_back(foldline::Unescape(text.substr(start, pos - start), separator));
        start = pos + 1;
    }
    fields.resize(wanted);
    return fields;
}

std::string GetToken(const std::string& text, int index, char separator) {
    if (index < 0)
        return {};
    int current = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t pos = text.find(separator, start);
        const std::size_t end = pos == std::string::npos ? text.size() : pos;
        if (current == index)
            return text.substr(start, std::min(end - start, kMaxTokenLength));
        if (pos == std::string::npos)
            return {};
        start = pos + 1;
        ++current;
    }
}
