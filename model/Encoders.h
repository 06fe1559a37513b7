// The encoders: each turns the widget model, with its document where it needs one, into one of
// the widget's forms (the applet's parameters, the applet HTML, the support-file list, the stored
// parameter table) or reads the stored table back. CAppletParameters keeps the data; its members
// of the same names call these.
#pragma once

#include "CAppletParameters.h"

#include <cstdint>
#include <string>
#include <vector>

class CTesselFile;

namespace encoders {

// The applet encoding, in the applet's order; numbers the visible menus.
std::vector<AppletParam> BuildAppletParams(CAppletParameters& applet, int mode,
                                           const std::string& previewFolder);
// The applet HTML fragment; rebuilds the document's resource list first.
std::string GetAppletHtml(CAppletParameters& applet, CTesselFile& document, int mode);
// The support-file list; drops references to files that no longer exist.
std::uint16_t BuildResourceList(CAppletParameters& applet, CTesselFile& document);
// The stored parameter table. ReadParameters expects a freshly Reset model; a damaged table
// leaves the applet-wide fields and no menus, and returns false.
void WriteParameters(CAppletParameters& applet, CTesselFile& document);
bool ReadParameters(CAppletParameters& applet, CTesselFile& document, const std::string& folder);

// A colour as the applet and the markup write it: "rrggbb", red first.
std::string ColorToHex(COLORREF color);
// Align as a word: "Center" (any unknown value), "Left" or "Right".
const char* AlignWord(int align);
// The document's "PreviewPath", read without adding the key.
std::string PreviewFolder(const CTesselFile& document);

} // namespace encoders
