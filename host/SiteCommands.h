// The main window's site commands: File "Publish to Site...", "New from Site Folder...", the
// menu as JSON out and in, and Edit "Check Links...". The component does the work; these ask
// for the folders and files and show what came of it.
#pragma once

class CQuillaryToolApp;

namespace host {

// Asks for the site folder, shows what publishing would change, and publishes when confirmed.
void OnPublishToSite(CQuillaryToolApp& app);
// A new document whose menu follows the folders and pages of a site.
void OnNewFromSiteFolder(CQuillaryToolApp& app);
void OnExportJson(CQuillaryToolApp& app);
// Replaces the widget's menus by those of a JSON file, once confirmed.
void OnImportJson(CQuillaryToolApp& app);
// Checks the menu's links against a site folder and lists what is wrong.
void OnCheckLinks(CQuillaryToolApp& app);

} // namespace host
