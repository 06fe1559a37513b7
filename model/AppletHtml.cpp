#include "CTesselFile.h"
#include "Encoders.h"
#include "RuntimeFiles.h"
#include "WebText.h"

#include <string_view>

namespace {

constexpr std::string_view kNotice = "Quillary Foldline 1.1 - navigation menu widget";
constexpr std::string_view kLineEnd = "\r\n";

// Values go inside double-quoted attributes; the browser decodes the entities again, so the
// applet still receives the value unchanged.
std::string EscapeAttribute(std::string_view value) {
    return foldline::HtmlEscaped(value, foldline::Controls::Kept);
}

void AppendParam(std::string& html, std::string_view name, std::string_view value) {
    html += "\t<param name=\"";
    html += EscapeAttribute(name);
    html += "\" value=\"";
    html += EscapeAttribute(value);
    html += "\">";
    html += kLineEnd;
}

} // namespace

const char* encoders::AlignWord(int align) {
    switch (align) {
    case 1:
        return "Left";
    case 2:
        return "Right";
    default:
        return "Center";
    }
}

std::string encoders::PreviewFolder(const CTesselFile& document) {
    // Read without GetDescription, which would add an empty key to the document.
    const std::string* value = document.Descriptions().Find("PreviewPath");
    return value ? *value : std::string();
}

std::string encoders::GetAppletHtml(CAppletParameters& applet, CTesselFile& document, int mode) {
    // Drops references to deleted files before anything is encoded.
    BuildResourceList(applet, document);

    const std::string previewFolder = PreviewFolder(document);
    const std::string& codebase = mode == kHtmlLocal ? previewFolder : applet.WebPath;

    std::string html;
    html += "<p align=\"";
    html += AlignWord(applet.Align);
    html += "\">";
    html += kLineEnd;

    html += "<applet ";
    if (!codebase.empty()) {
        html += "codebase=\"";
        html += EscapeAttribute(codebase);
        html += "\"";
    }
    html += std::string(" code=\"") + kAppletClassFile + "\" align=\"baseline\" width=\"" +
            std::to_string(applet.Width) + "\" height=\"" + std::to_string(applet.Height) + "\">";
    html += kLineEnd;

    AppendParam(html, "Notice", kNotice);
    for (const AppletParam& param : BuildAppletParams(applet, mode, previewFolder))
        AppendParam(html, param.first, param.second);

    html += "</applet>";
    html += kLineEnd;
    html += "</p>";
    html += kLineEnd;
    return html;
}
