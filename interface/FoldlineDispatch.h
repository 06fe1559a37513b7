// The component's dispatch interface as callers see it: its ProgID and the identifier of every
// member. A header only, so the program and the tools use it without linking the component.
#pragma once

#include "Com.h"

inline constexpr const char* kFoldlineProgID = "TesselServer.Foldline";

enum FoldlineDispId : DISPID {
    DISPID_ProgID = 1,
    DISPID_Title = 2,
    DISPID_Description = 3,
    DISPID_BitmapFileName = 4,
    DISPID_PreviewPath = 5,
    DISPID_LastUpdateTime = 6,
    DISPID_ReadConfigFile = 7,
    DISPID_WriteConfigFile = 8,
    DISPID_Config = 9,
    DISPID_GetTesselTypeID = 10,
    DISPID_GetTesselNameID = 11,
    DISPID_GetMenuTextID = 12,
    DISPID_GetMessageTextID = 13,
    DISPID_GetTipsTextID = 14,
    DISPID_GetIconID = 15,
    DISPID_GetHTMLSegmentNumber = 16,
    DISPID_GetHTMLPosition = 17,
    DISPID_GetHTMLBody = 18,
    DISPID_GetResourceInstance = 19,
    DISPID_GetResourceNumber = 20,
    DISPID_GetResourceName = 21,
    DISPID_GetResourceLocalPath = 22,
    DISPID_GetResourceWebPath = 23,
    DISPID_GetResourceLocalPathByName = 24,
    DISPID_GetResourceWebPathByName = 25,
    DISPID_SetResourceLocalPath = 26,
    // The site work: publishing into a folder of pages, checking links, a menu from a folder,
    // the menu as JSON, and the node the configuration dialog selects when it opens.
    DISPID_PublishToSite = 27,
    DISPID_CheckLinks = 28,
    DISPID_GetItemLinks = 29,
    DISPID_ImportSite = 30,
    DISPID_ExportJSON = 31,
    DISPID_ImportJSON = 32,
    DISPID_ConfigSelection = 33,
    // Beyond the family's interface, read-only: what the last ReadConfigFile found damaged (empty
    // for a whole file), why the last ReadConfigFile or WriteConfigFile failed, and the support
    // files the last WriteConfigFile could not copy, one "path: reason" per line.
    DISPID_LastReadDamage = 34,
    DISPID_LastError = 35,
    DISPID_LastCopyFailures = 36,
    // The widget as a save would write it now, with the open configuration dialog's edits, as
    // the text of a widget file; copies nothing. ReadRecoveryFile reads such a file back with its
    // file references in the folders they were in.
    DISPID_GetWorkingDocument = 37,
    DISPID_ReadRecoveryFile = 38,
};

// GetHTMLBody's kinds: the applet fragment for the local preview and for the web, and the markup
// for today's browsers, local and web (file references as in the applet kinds).
inline constexpr int kHtmlAppletLocal = 0;
inline constexpr int kHtmlAppletWeb = 1;
inline constexpr int kHtmlModernLocal = 2;
inline constexpr int kHtmlModernWeb = 3;
// The kind for the program's live preview: the widget's markup for today's browsers with every
// file as a local file: address, silent and following no link, without the runtime's own
// elements (the caller's page loads furlin.js and furlin.css from the component folder).
inline constexpr int kHtmlLivePreview = 4;
