// The program's own texts that other code refers to by meaning rather than by literal.
#pragma once

#include <QtGlobal>

namespace host {

// The only place the program names its component.
inline constexpr const char* kAppTitle = "Quillary Foldline";
inline constexpr const char* kTemplateExtension = "tsl";

// The document template.
inline constexpr const char* kDocUntitled = "Untitled_TesselServer.Foldline";
inline constexpr const char* kDocTypeName = "Quillary Foldline";
inline constexpr const char* kDocFilterName =
    QT_TRANSLATE_NOOP("CQuillaryToolDoc", "Quillary Widgets File(*.tsl) ");
inline constexpr const char* kDocExtension = ".tsl";

// Shown translated (as every text marked so is, at the point of use).
inline constexpr const char* kIdleStatus = QT_TRANSLATE_NOOP("CMainFrame", "For Help, press F1");

// Profile.
inline constexpr const char* kProfileCompany = "Velloran";
inline constexpr const char* kSectionFrame = "Frame";
inline constexpr const char* kSectionWebBrowser = "Web Browser";
inline constexpr const char* kSectionRecentFiles = "Recent File List";
inline constexpr const char* kSectionOutput = "Output";
inline constexpr const char* kSectionView = "View";
inline constexpr const char* kSectionFiles = "Files";

inline constexpr int kRecentFileCount = 4;

} // namespace host
