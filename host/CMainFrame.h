// The main window: menu, toolbar, status bar, the command table and the window placement kept in
// the profile section "Frame".
#pragma once

#include "HostStrings.h"

#include <QMainWindow>

#include <array>
#include <functional>

class CLivePreview;
class CQuillaryToolApp;
class CQuillaryToolView;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QSettings;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    enum Command {
        FileNew,
        FileOpen,
        FileSave,
        FileSaveAs,
        FileSaveAsTemplate,
        FileCopySupportFiles,
        FileNewFromSite,
        FilePublishToSite,
        FileExportJson,
        FileImportJson,
        AppExit,
        EditConfigure,
        EditRename,
        EditLocalHtml,
        EditWebHtml,
        EditModernHtml,
        EditPreview,
        EditModernPreview,
        EditCheckLinks,
        OptionWebBrowser,
        OptionTemplate,
        OptionModernHtml,
        ViewToolbar,
        ViewStatusBar,
        ViewLivePreview,
        HelpTopics,
        HelpTutorial,
        HelpSearch,
        HelpViewSample,
        HelpFaq,
        AppAbout,
        CommandCount
    };

    explicit CMainFrame(CQuillaryToolApp* app);
    ~CMainFrame() override;

    QAction* Action(Command command) const { return m_actions[command]; }
    QAction* RecentFileAction(int index) const { return m_recentActions[index]; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* MessagePane() const { return m_messagePane; }
    QLabel* Indicator(int index) const { return m_indicators[index]; }
    CQuillaryToolView* View() const;

    // Reads the five "Frame" values and applies them before the first showing.
    void RestorePlacement(QSettings& profile);
    void SavePlacement(QSettings& profile) const;
    // The first showing, in the state the placement asked for.
    void ShowFirst();
    Qt::WindowStates FirstShowState() const { return m_firstShowState; }

    // The live preview pane beside the form; hidden, it holds no web engine.
    void ShowLivePreview(bool shown);
    CLivePreview* LivePreviewPane() const { return m_livePreview; }
    // Draws the document's widget in the pane again.
    void RefreshLivePreview();

    // Enables and disables the commands for the current document.
    void UpdateCommandUI();
    void UpdateRecentFileMenu();
    void UpdateCaption();

    // Runs a command; a failed call into the component is reported instead of ending the program.
    void RunCommand(const std::function<void()>& command);

    struct CommandRow;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Adds the command of a row of the command table to the menu.
    QAction* AddCommand(QMenu* menu, const CommandRow& row);
    // A separator, the recent files, a separator.
    void AddRecentFileSection(QMenu* menu);
    void AddContextHelpKeys();
    void CreateMenus();
    // Takes a ".tsl" file dragged onto the window and opens it; false for other events.
    bool HandleFileDrop(QEvent* event);
    void CreateToolBar();
    void CreateStatusBar();

    CQuillaryToolApp* m_app;
    std::array<QAction*, CommandCount> m_actions{};
    std::array<QAction*, host::kRecentFileCount> m_recentActions{};
    QAction* m_recentSeparator = nullptr;
    QMenu* m_fileMenu = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QDockWidget* m_livePreviewDock = nullptr;
    CLivePreview* m_livePreview = nullptr;
    std::array<QLabel*, 3> m_indicators{};
    Qt::WindowStates m_firstShowState = Qt::WindowNoState;
};
