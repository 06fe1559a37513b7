#include "MainFrameCommands.h"

#include "CQuillaryToolApp.h"
#include "CQuillaryToolDoc.h"
#include "CQuillaryToolView.h"
#include "SiteCommands.h"

#include <QtGlobal>

using main_frame::Before;
using main_frame::Enable;

namespace {

using CommandRow = CMainFrame::CommandRow;

CQuillaryToolDoc& Doc(CQuillaryToolApp& app) {
    return *app.Document();
}
CQuillaryToolView& View(CQuillaryToolApp& app) {
    return *app.View();
}

const CommandRow kCommands[] = {
    {CMainFrame::FileNew, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&New..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Create a new document"),
     QT_TRANSLATE_NOOP("CMainFrame", "New"), "Ctrl+N", nullptr, Enable::Always,
     [](CQuillaryToolApp& app) { app.OnFileNew(); }},
    {CMainFrame::FileOpen, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Open..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Open an existing document"),
     QT_TRANSLATE_NOOP("CMainFrame", "Open"), "Ctrl+O", nullptr, Enable::Always,
     [](CQuillaryToolApp& app) { app.OnFileOpen(); }},
    {CMainFrame::FileSave, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Save"),
     QT_TRANSLATE_NOOP("CMainFrame", "Save the active document"),
     QT_TRANSLATE_NOOP("CMainFrame", "Save"), "Ctrl+S", nullptr, Enable::WithWidget,
     [](CQuillaryToolApp& app) { Doc(app).DoFileSave(); }},
    {CMainFrame::FileSaveAs, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "Save &As..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Save the active document with a new name"),
     QT_TRANSLATE_NOOP("CMainFrame", "Save As"), "Ctrl+Shift+S", nullptr, Enable::WithWidget,
     [](CQuillaryToolApp& app) { Doc(app).DoSave(QString()); }},
    {CMainFrame::FileSaveAsTemplate, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "Save as &Template..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Save the document as a template"),
     QT_TRANSLATE_NOOP("CMainFrame", "Save as Template"), "Ctrl+T", nullptr, Enable::WithWidget,
     [](CQuillaryToolApp& app) { app.OnSaveAsTemplate(); }},
    {CMainFrame::FileCopySupportFiles, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Copy Support Files to..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Copy the files using by the widget to a specified directory"),
     nullptr, "", nullptr, Enable::WithFilesToCopy,
     [](CQuillaryToolApp& app) { Doc(app).OnCopySupportFiles(); }},
    {CMainFrame::FileNewFromSite, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Separator,
     QT_TRANSLATE_NOOP("CMainFrame", "New from Site &Folder..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Create a new widget whose menu follows a site's folders"),
     nullptr, "", nullptr, Enable::Always, host::OnNewFromSiteFolder},
    {CMainFrame::FilePublishToSite, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Publish to Site..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Put the menu into every page of a site that marks its place"),
     nullptr, "", nullptr, Enable::WithWidget, host::OnPublishToSite},
    {CMainFrame::FileExportJson, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "Export Menu as &JSON..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Write the menu tree to a JSON file"), nullptr, "", nullptr,
     Enable::WithWidget, host::OnExportJson},
    {CMainFrame::FileImportJson, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Import Menu from JSON..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Replace the menu tree by that of a JSON file"), nullptr, "",
     nullptr, Enable::WithWidget, host::OnImportJson},
    {CMainFrame::AppExit, QT_TRANSLATE_NOOP("CMainFrame", "&File"), Before::RecentFiles,
     QT_TRANSLATE_NOOP("CMainFrame", "E&xit"),
     QT_TRANSLATE_NOOP("CMainFrame", "Quit the application; prompts to save documents"),
     QT_TRANSLATE_NOOP("CMainFrame", "Exit"), "Ctrl+Q", nullptr, Enable::Always,
     [](CQuillaryToolApp& app) { app.OnAppExit(); }},

    {CMainFrame::EditConfigure, QT_TRANSLATE_NOOP("CMainFrame", "&Edit"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Configure ..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Configure the widget to fit your requirment"),
     QT_TRANSLATE_NOOP("CMainFrame", "Configure"), "Alt+Return; Alt+Enter", "Alt+Enter",
     Enable::WithWidget, [](CQuillaryToolApp& app) { View(app).OnConfigure(); }},
    {CMainFrame::EditRename, QT_TRANSLATE_NOOP("CMainFrame", "&Edit"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "Re&name ..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Give the widget a new name"),
     QT_TRANSLATE_NOOP("CMainFrame", "Rename"), "", nullptr, Enable::WithWidget,
     [](CQuillaryToolApp& app) { View(app).OnRename(); }},
    {CMainFrame::EditLocalHtml, QT_TRANSLATE_NOOP("CMainFrame", "&Edit"), Before::Separator,
     QT_TRANSLATE_NOOP("CMainFrame", "Get &Local HTML ..."),
     QT_TRANSLATE_NOOP("CMainFrame",
                       "Change the HTML according to the files' local relative directory"),
     nullptr, "", nullptr, Enable::WithWidget,
     [](CQuillaryToolApp& app) { View(app).OnGetLocalHtml(); }},
    {CMainFrame::EditWebHtml, QT_TRANSLATE_NOOP("CMainFrame", "&Edit"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "Get &Web HTML"),
     QT_TRANSLATE_NOOP("CMainFrame", "Change the HTML according to the files' web path"), nullptr,
     "", nullptr, Enable::WithWidget, [](CQuillaryToolApp& app) { View(app).OnGetWebHtml(); }},
    {CMainFrame::EditModernHtml, QT_TRANSLATE_NOOP("CMainFrame", "&Edit"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "Get &Modern HTML"),
     QT_TRANSLATE_NOOP("CMainFrame", "Change the HTML to the form that today's browsers run"),
     nullptr, "", nullptr, Enable::WithWidget,
     [](CQuillaryToolApp& app) { View(app).OnGetModernHtml(); }},
    {CMainFrame::EditPreview, QT_TRANSLATE_NOOP("CMainFrame", "&Edit"), Before::Separator,
     QT_TRANSLATE_NOOP("CMainFrame", "Pre&view"),
     QT_TRANSLATE_NOOP("CMainFrame", "Preview the widget"),
     QT_TRANSLATE_NOOP("CMainFrame", "Preview"), "Ctrl+F5", nullptr, Enable::WithWidget,
     [](CQuillaryToolApp& app) {
         app.OnPreview(app.ModernHtml() ? kHtmlModernLocal : kHtmlAppletLocal);
     }},
    {CMainFrame::EditModernPreview, QT_TRANSLATE_NOOP("CMainFrame", "&Edit"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "Preview in &Modern Browser"),
     QT_TRANSLATE_NOOP("CMainFrame", "Preview the widget as today's browsers show it"), nullptr,
     "Ctrl+Shift+F5", nullptr, Enable::WithWidget,
     [](CQuillaryToolApp& app) { app.OnPreview(kHtmlModernLocal); }},
    {CMainFrame::EditCheckLinks, QT_TRANSLATE_NOOP("CMainFrame", "&Edit"), Before::Separator,
     QT_TRANSLATE_NOOP("CMainFrame", "Chec&k Links..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Check the menu's links against a site folder"), nullptr, "",
     nullptr, Enable::WithWidget, host::OnCheckLinks},

    {CMainFrame::OptionWebBrowser, QT_TRANSLATE_NOOP("CMainFrame", "Option"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Web Browser..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Specify your favorite web browser"), "", "", nullptr,
     Enable::Always, [](CQuillaryToolApp& app) { app.OnWebBrowser(); }},
    {CMainFrame::OptionTemplate, QT_TRANSLATE_NOOP("CMainFrame", "Option"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Template..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Manage the templates"), nullptr, "", nullptr, Enable::Always,
     [](CQuillaryToolApp& app) { app.OnManageTemplates(); }},
    {CMainFrame::OptionModernHtml, QT_TRANSLATE_NOOP("CMainFrame", "Option"), Before::Separator,
     QT_TRANSLATE_NOOP("CMainFrame", "Use HTML for Today's Browsers"),
     QT_TRANSLATE_NOOP(
         "CMainFrame",
         "Show and preview the HTML that today's browsers run instead of the applet's"),
     nullptr, "", nullptr, Enable::Always,
     [](CQuillaryToolApp& app) { app.SetModernHtml(!app.ModernHtml()); },
     [](const CQuillaryToolApp& app) { return app.ModernHtml(); }},

    {CMainFrame::ViewToolbar, QT_TRANSLATE_NOOP("CMainFrame", "&View"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Toolbar"),
     QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the toolbar"),
     QT_TRANSLATE_NOOP("CMainFrame", "Toggle ToolBar"), "", nullptr, Enable::Always, nullptr},
    {CMainFrame::ViewStatusBar, QT_TRANSLATE_NOOP("CMainFrame", "&View"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Status Bar"),
     QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the status bar"),
     QT_TRANSLATE_NOOP("CMainFrame", "Toggle StatusBar"), "", nullptr, Enable::Always, nullptr},
    {CMainFrame::ViewLivePreview, QT_TRANSLATE_NOOP("CMainFrame", "&View"), Before::Separator,
     QT_TRANSLATE_NOOP("CMainFrame", "&Live Preview"),
     QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the widget as today's browsers draw it"),
     nullptr, "", nullptr, Enable::Always,
     [](CQuillaryToolApp& app) { app.SetLivePreview(!app.LivePreview()); },
     [](const CQuillaryToolApp& app) { return app.LivePreview(); }},

    {CMainFrame::HelpTopics, QT_TRANSLATE_NOOP("CMainFrame", "&Help"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Help Topics"),
     QT_TRANSLATE_NOOP("CMainFrame", "List Help topics"),
     QT_TRANSLATE_NOOP("CMainFrame", "Help Topics"), "", nullptr, Enable::Always,
     [](CQuillaryToolApp& app) { app.OnHelpTopics(); }},
    {CMainFrame::HelpTutorial, QT_TRANSLATE_NOOP("CMainFrame", "&Help"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Tutorial"),
     QT_TRANSLATE_NOOP("CMainFrame", "Tutorial to guide you working"), nullptr, "", nullptr,
     Enable::Always, [](CQuillaryToolApp& app) { app.OnHelpTutorial(); }},
    {CMainFrame::HelpSearch, QT_TRANSLATE_NOOP("CMainFrame", "&Help"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&Search for Help on ..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Search the keyword"), nullptr, "", nullptr, Enable::Always,
     [](CQuillaryToolApp& app) { app.OnHelpSearch(); }},
    {CMainFrame::HelpViewSample, QT_TRANSLATE_NOOP("CMainFrame", "&Help"), Before::Nothing,
     QT_TRANSLATE_NOOP("CMainFrame", "&View Sample"),
     QT_TRANSLATE_NOOP("CMainFrame", "View this widget's sample"), nullptr, "", nullptr,
     Enable::WithWidget, [](CQuillaryToolApp& app) { Doc(app).OnViewSample(); }},
    {CMainFrame::HelpFaq, QT_TRANSLATE_NOOP("CMainFrame", "&Help"), Before::Separator,
     QT_TRANSLATE_NOOP("CMainFrame", "&Frequently Asked Questions"),
     QT_TRANSLATE_NOOP("CMainFrame", "User frequently asked questions"), nullptr, "", nullptr,
     Enable::Always, [](CQuillaryToolApp& app) { app.OnHelpFaq(); }},
    {CMainFrame::AppAbout, QT_TRANSLATE_NOOP("CMainFrame", "&Help"), Before::Separator,
     QT_TRANSLATE_NOOP("CMainFrame", "&About Quillary Foldline..."), nullptr, nullptr, "", nullptr,
     Enable::Always, [](CQuillaryToolApp& app) { app.OnAppAbout(); }},
};

} // namespace

std::span<const CMainFrame::CommandRow> MainFrameCommands() {
    return kCommands;
}
