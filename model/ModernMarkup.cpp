#include "ModernMarkup.h"

#include "CTesselFile.h"
#include "Paths.h"
#include "Records.h"
#include "Text.h"
#include "TreeWalk.h"
#include "WebText.h"

#include <cctype>
#include <string_view>
#include <unordered_map>
#include <vector>

using foldline::Controls;
using foldline::Field;
using foldline::FieldKind;

namespace {

constexpr std::string_view kLineEnd = "\r\n";

class CMarkupWriter {
public:
    CMarkupWriter(const CAppletParameters& model, const ModernMarkupOptions& options)
        : m_model(model), m_options(options) {}

    std::string Write();

private:
    std::string Resolved(const std::string& file, const std::string& webFolder) const;
    template <typename R, std::size_t N, typename Number>
    std::string Data(const R& record, const std::array<Field<R>, N>& fields, Number number) const;
    template <typename R, std::size_t N>
    std::string Data(const R& record, const std::array<Field<R>, N>& fields) const {
        return Data(record, fields, [](const Field<R>&, int value) { return value; });
    }

    void Text(std::string_view text) {
        foldline::AppendHtmlEscaped(m_html, text, Controls::Dropped);
    }
    void Attribute(std::string_view name, std::string_view value);
    void Label(std::string_view label);
    void ListStart(const CFurlin& menu, int topOffset);
    void Item(const CFurlinItem& item, const std::string& node);
    void ItemStart(const CFurlinItem& item, const std::string& node);
    void Menus();
    void MenuTree(const CFurlin& top, std::size_t index, int topOffset);
    void NavStart();
    // Where the page finds furlin.js and furlin.css: beside the applet's files.
    std::string RuntimeFolder() const {
        return foldline::PageUrl(m_options.mode == kHtmlLocal ? m_options.previewFolder
                                                              : m_model.WebPath);
    }

    const CAppletParameters& m_model;
    const ModernMarkupOptions& m_options;
    std::string m_html;
    // Each distinct look of the lists once, as JSON, in the order first used.
    std::vector<const std::string*> m_looks;
    std::unordered_map<std::string, std::size_t> m_lookIndex;
};

// A file as the page loads it: the preview folder or the file's web folder joined directly to
// its name, as kinds 0 and 1 write it; a web address relative to the page goes below WebPath,
// where the applet, which took it relative to its code base, found it.
std::string CMarkupWriter::Resolved(const std::string& file, const std::string& webFolder) const {
    const std::string_view name = FileNamePart(file);
    if (name.empty())
        return {};
    if (m_options.localFiles)
        return foldline::FileUrl(file);
    // The name is one segment whatever it holds ("#", "?"); the folder is an address.
    const std::string segment = foldline::UrlSegment(name);
    if (m_options.mode == kHtmlLocal)
        return foldline::PageUrl(m_options.previewFolder) + segment;
    const std::string folder = foldline::PageUrl(webFolder);
    if (foldline::IsPathRelative(folder + segment))
        return foldline::PageUrl(m_model.WebPath) + folder + segment;
    return folder + segment;
}

// The record's fields that travel in the markup, by name, as one JSON object.
template <typename R, std::size_t N, typename Number>
std::string CMarkupWriter::Data(const R& record, const std::array<Field<R>, N>& fields,
                                Number number) const {
    std::string json = "{";
    for (const Field<R>& f : fields) {
        if (!f.inMarkup)
            continue;
        std::string value;
        switch (f.kind) {
        case FieldKind::Number:
            value = std::to_string(number(f, foldline::NumberOf(record, f)));
            break;
        case FieldKind::Colour:
            value = "\"#" + CAppletParameters::ColorToHex(foldline::ColourOf(record, f)) + "\"";
            break;
        case FieldKind::Look:
            value = Data(foldline::LookOf(record, f), foldline::kLookFields);
            break;
        case FieldKind::File: {
            const std::string file = Resolved(foldline::TextOf(record, f), record.*f.webFolder);
            if (file.empty())
                continue;
            foldline::AppendJsonString(value, file);
            break;
        }
        default:
            foldline::AppendJsonString(value, foldline::TextOf(record, f));
        }
        if (json.size() > 1)
            json += ',';
        foldline::AppendJsonString(json, f.name);
        json += ':';
        json += value;
    }
    return json + "}";
}

void CMarkupWriter::Attribute(std::string_view name, std::string_view value) {
    m_html += ' ';
    m_html += name;
    m_html += "=\"";
    Text(value);
    m_html += '"';
}

// Each line break (CR LF, CR or LF) becomes a <br>.
void CMarkupWriter::Label(std::string_view label) {
    for (std::size_t i = 0; i < label.size();) {
        const std::size_t end = label.find_first_of("\r\n", i);
        Text(label.substr(i, end == std::string_view::npos ? end : end - i));
        if (end == std::string_view::npos)
            break;
        m_html += "<br>";
        i = end + (label.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

// A list refers to its look by its place in the nav's table: lists that look alike (nearly all
// of a large menu) share one entry rather than repeating it.
void CMarkupWriter::ListStart(const CFurlin& menu, int topOffset) {
    // The applet encoding gives the first menu MenuTop as its offset and the others 0.
    std::string look = Data(menu, foldline::kMenuFields, [&](const Field<CFurlin>& f, int v) {
        return std::get<int CFurlin::*>(f.member) == &CFurlin::TopOffset ? topOffset : v;
    });
    const auto [at, added] = m_lookIndex.try_emplace(std::move(look), m_looks.size());
    if (added)
        m_looks.push_back(&at->first);
    m_html += "<ul data-furlin=\"";
    m_html += std::to_string(at->second);
    m_html += "\">";
    m_html += kLineEnd;
}

void CMarkupWriter::ItemStart(const CFurlinItem& item, const std::string& node) {
    m_html += "<li";
    if (m_options.nodeIds)
        Attribute("data-furlin-node", node);
    if (const std::string data = Data(item, foldline::kItemFields); data != "{}")
        Attribute("data-furlin", data);
    m_html += '>';
}

void CMarkupWriter::Item(const CFurlinItem& item, const std::string& node) {
    ItemStart(item, node);
    // The link is checked as the page holds it: a control the page leaves out must not hide a
    // dropped scheme ("java\x01script:") that the browser would then read whole.
    const std::string link = foldline::WithoutForbiddenControls(
        m_options.mapLink ? m_options.mapLink(item.Link) : item.Link);
    const bool linked = !foldline::Trim(link).empty() && !foldline::IsDroppedLink(link);
    if (linked) {
        m_html += "<a";
        Attribute("href", foldline::PageUrl(link));
        if (!foldline::IsOwnFrame(item.TargetFrame))
            Attribute("target", foldline::HtmlTarget(item.TargetFrame));
        if (foldline::OpensNewContext(item.TargetFrame))
            Attribute("rel", "noopener");
        if (&item == m_options.currentItem)
            Attribute("aria-current", "page");
    } else {
        m_html += "<span";
        // An unlinked item names the page too (a section page the author left unlinked).
        if (&item == m_options.currentItem)
            Attribute("aria-current", "page");
    }
    const bool described = !foldline::Trim(item.Description).empty();
    if (described)
        Attribute("title", item.Description);
    const bool labelled = !foldline::Trim(item.Label).empty();
    const std::string image = Resolved(item.NormalImage, item.NormalImageWebPath);
    // A link with neither text nor image is named by its description, else by its address.
    if (linked && !labelled && image.empty())
        Attribute("aria-label", described ? std::string_view(item.Description) : link);
    m_html += '>';

    if (!image.empty()) {
        m_html += "<img";
        Attribute("src", image);
        // An image beside a label is decoration; alone it names the item.
        Attribute("alt", labelled    ? std::string_view()
                         : described ? std::string_view(item.Description)
                                     : FileNamePart(item.NormalImage));
        // Images of closed branches load when their branch first shows.
        m_html += " loading=\"lazy\">";
    }
    Label(item.Label);
    m_html += linked ? "</a>" : "</span>";
}

// One top-level menu with the visible walk below it, without recursion: `open` holds the lists
// being written and the next item of each.
void CMarkupWriter::MenuTree(const CFurlin& top, std::size_t index, int topOffset) {
    struct Open {
        const CFurlin* menu;
        std::size_t next;
    };
    std::vector<Open> open{{&top, 0}};
    std::string path = std::to_string(index); // the node of the innermost open list
    ListStart(top, topOffset);
    while (!open.empty()) {
        const auto& items = open.back().menu->Items();
        std::size_t& next = open.back().next;
        while (next < items.size() && !foldline::AcceptsItem(*items[next], true))
            ++next;
        if (next == items.size()) {
            m_html.append("</ul>").append(kLineEnd);
            open.pop_back();
            path.erase(std::min(path.size(), path.rfind('.')));
            if (!open.empty())
                m_html.append("</li>").append(kLineEnd);
            continue;
        }
        const CFurlinItem& item = *items[next];
        const std::string node = path + "." + std::to_string(next++);
        Item(item, node);
        const CFurlin* sub = item.GetSubMenu();
        if (sub != nullptr && foldline::AcceptsMenu(*sub, true)) {
            m_html += kLineEnd;
            ListStart(*sub, 0);
            open.push_back({sub, 0});
            path = node;
        } else {
            m_html.append("</li>").append(kLineEnd);
        }
    }
}

void CMarkupWriter::Menus() {
    bool first = true;
    const auto& menus = m_model.Menus();
    for (std::size_t t = 0; t < menus.size(); ++t) {
        if (!foldline::AcceptsMenu(*menus[t], true))
            continue;
        MenuTree(*menus[t], t, first ? m_model.MenuTop : 0);
        first = false;
    }
}

// The block, which carries the alignment and a chosen direction, and the nav with the applet's
// data and the table of the lists' looks.
void CMarkupWriter::NavStart() {
    if (m_options.runtimeElements) {
        m_html += "<link rel=\"stylesheet\"";
        Attribute("href", RuntimeFolder() + kRuntimeStyleSheet);
        m_html.append(">").append(kLineEnd);
    }
    m_html += "<div class=\"furlin-block\"";
    std::string align = CAppletParameters::AlignWord(m_model.Align);
    for (char& c : align)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Attribute("data-align", align);
    // Automatic follows the page.
    if (m_model.Direction == 1 || m_model.Direction == 2)
        Attribute("dir", m_model.Direction == 1 ? "ltr" : "rtl");
    m_html.append(">").append(kLineEnd);

    m_html += "<nav class=\"furlin\"";
    const bool named = !foldline::Trim(m_model.Name).empty();
    Attribute("aria-label", named ? std::string_view(m_model.Name) : "Menu");
    std::string data = Data(m_model, foldline::kAppletFields);
    data.pop_back();
    data += data.size() > 1 ? ",\"Looks\":[" : "\"Looks\":[";
    for (std::size_t i = 0; i < m_looks.size(); ++i)
        data.append(i ? "," : "").append(*m_looks[i]);
    Attribute("data-furlin", data + "]}");
    if (m_options.preview)
        m_html += " data-furlin-preview";
    m_html.append(">").append(kLineEnd);
}

std::string CMarkupWriter::Write() {
    // The lists first: the nav's look table is known once they are written.
    Menus();
    std::string lists = std::move(m_html);
    m_html.clear();
    NavStart();
    m_html += lists;
    m_html.append("</nav>").append(kLineEnd).append("</div>").append(kLineEnd);

    if (m_options.runtimeElements) {
        m_html += "<script";
        Attribute("src", RuntimeFolder() + kRuntimeScript);
        m_html.append(" defer></script>").append(kLineEnd);
    }
    return std::move(m_html);
}

} // namespace

std::string ModernMarkup(const CAppletParameters& model, const ModernMarkupOptions& options) {
    return CMarkupWriter(model, options).Write();
}

std::string CAppletParameters::GetModernHtml(CTesselFile& document, int mode) {
    // Drops references to deleted files before anything is written, as the applet HTML does.
    BuildResourceList(document);
    ModernMarkupOptions options;
    options.mode = mode;
    options.previewFolder = PreviewFolder(document);
    return ModernMarkup(*this, options);
}
