#include "CMainFrame.h"

#include "CQuillaryToolApp.h"
#include "CQuillaryToolDoc.h"
#include "CQuillaryToolView.h"
#include "DispatchDriver.h"
#include "HostIcons.h"
#include "HostServices.h"
#include "HostStrings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QWhatsThis>

#include <exception>

namespace {

// The platform's numbering of show states.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

const char* const kIndicatorTexts[3] = {"CAP", "NUM", "SCRL"};
const int kIndicatorKeys[3] = {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock};

} // namespace

CMainFrame::CMainFrame(CQuillaryToolApp* app) : m_app(app) {
    setWindowIcon(host::ProgramIcon());
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
}

CQuillaryToolView* CMainFrame::View() const {
    return qobject_cast<CQuillaryToolView*>(centralWidget());
}

QAction* CMainFrame::MakeAction(Command command, const QString& text, const QString& prompt,
                                const QString& toolTip) {
    auto* action = new QAction(text, this);
    action->setStatusTip(prompt);
    if (!toolTip.isNull())
        action->setToolTip(toolTip);
    m_actions[command] = action;
    return action;
}

void CMainFrame::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const CDispatchException& e) {
        host::Message(this, e.description.empty()
                                ? QStringLiteral("The widget component failed (%1).")
                                      .arg(QString::fromStdString(HResultToHex(e.hr)))
                                : QString::fromStdString(e.description));
    } catch (const std::exception& e) {
        host::Message(this, QString::fromUtf8(e.what()));
    }
    UpdateCommandUI();
}

void CMainFrame::CreateMenus() {
    auto route = [this](QAction* action, std::function<void()> handler) {
        connect(action, &QAction::triggered, this, [this, handler] { RunCommand(handler); });
    };
    CQuillaryToolApp* app = m_app;
    auto doc = [app] { return app->Document(); };
    auto view = [this] { return View(); };

    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* a = MakeAction(FileNew, QStringLiteral("&New..."),
                            QStringLiteral("Create a new document"), QStringLiteral("New"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    route(a, [app] { app->OnFileNew(); });
    m_fileMenu->addAction(a);
    a = MakeAction(FileOpen, QStringLiteral("&Open..."),
                   QStringLiteral("Open an existing document"), QStringLiteral("Open"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    route(a, [app] { app->OnFileOpen(); });
    m_fileMenu->addAction(a);
    a = MakeAction(FileSave, QStringLiteral("&Save"), QStringLiteral("Save the active document"),
                   QStringLiteral("Save"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    route(a, [doc] { doc()->DoFileSave(); });
    m_fileMenu->addAction(a);
    a = MakeAction(FileSaveAs, QStringLiteral("Save &As..."),
                   QStringLiteral("Save the active document with a new name"),
                   QStringLiteral("Save As"));
    route(a, [doc] { doc()->DoSave(QString()); });
    m_fileMenu->addAction(a);
    a = MakeAction(FileSaveAsTemplate, QStringLiteral("Save as &Template..."),
                   QStringLiteral("Save the document as a template"),
                   QStringLiteral("Save as Template"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    route(a, [this] {
        if (onSaveAsTemplate)
            onSaveAsTemplate();
    });
    m_fileMenu->addAction(a);
    a = MakeAction(FileCopySupportFiles, QStringLiteral("&Copy Support Files to..."),
                   QStringLiteral("Copy the files using by the widget to a specified directory"));
    route(a, [doc] { doc()->OnCopySupportFiles(); });
    m_fileMenu->addAction(a);
    m_recentSeparator = m_fileMenu->addSeparator();
    for (int i = 0; i < 4; ++i) {
        auto* recent = new QAction(this);
        recent->setStatusTip(QStringLiteral("Open this document"));
        route(recent, [app, i] {
            const QStringList& entries = app->RecentFiles().Entries();
            if (i < entries.size())
                app->OpenDocumentFile(entries[i], i);
        });
        m_recentActions[i] = recent;
        m_fileMenu->addAction(recent);
    }
    m_fileMenu->addSeparator();
    a = MakeAction(AppExit, QStringLiteral("E&xit"),
                   QStringLiteral("Quit the application; prompts to save documents"),
                   QStringLiteral("Exit"));
    connect(a, &QAction::triggered, this, [app] { app->OnAppExit(); });
    m_fileMenu->addAction(a);
    connect(m_fileMenu, &QMenu::aboutToShow, this, [this] {
        UpdateRecentFileMenu();
        UpdateCommandUI();
    });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    a = MakeAction(EditConfigure, QStringLiteral("&Configure ..."),
                   QStringLiteral("Configure the widget to fit your requirment"),
                   QStringLiteral("Configure"));
    a->setShortcuts(
        {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});
    route(a, [view] { view()->OnConfigure(); });
    edit->addAction(a);
    a = MakeAction(EditRename, QStringLiteral("Re&name ..."),
                   QStringLiteral("Give the widget a new name"), QStringLiteral("Rename"));
    route(a, [view] { view()->OnRename(); });
    edit->addAction(a);
    edit->addSeparator();
    a = MakeAction(
        EditLocalHtml, QStringLiteral("Get &Local HTML ..."),
        QStringLiteral("Change the HTML according to the files' local relative directory"));
    route(a, [view] { view()->OnGetLocalHtml(); });
    edit->addAction(a);
    a = MakeAction(EditWebHtml, QStringLiteral("Get &Web HTML"),
                   QStringLiteral("Change the HTML according to the files' web path"));
    route(a, [view] { view()->OnGetWebHtml(); });
    edit->addAction(a);
    a = MakeAction(EditModernHtml, QStringLiteral("Get &Modern HTML"),
                   QStringLiteral("Change the HTML to the form that today's browsers run"));
    route(a, [view] { view()->OnGetModernHtml(); });
    edit->addAction(a);
    edit->addSeparator();
    a = MakeAction(EditPreview, QStringLiteral("Pre&view"), QStringLiteral("Preview the widget"),
                   QStringLiteral("Preview"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5));
    route(a, [this] {
        if (onPreview)
            onPreview(0);
    });
    edit->addAction(a);
    a = MakeAction(EditModernPreview, QStringLiteral("Preview in &Modern Browser"),
                   QStringLiteral("Preview the widget as today's browsers show it"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F5));
    route(a, [this] {
        if (onPreview)
            onPreview(2);
    });
    edit->addAction(a);
    connect(edit, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);

    QMenu* option = menuBar()->addMenu(QStringLiteral("Option"));
    a = MakeAction(OptionWebBrowser, QStringLiteral("&Web Browser..."),
                   QStringLiteral("Specify your favorite web browser"), QString(""));
    route(a, [this] {
        if (onWebBrowser)
            onWebBrowser();
    });
    option->addAction(a);
    a = MakeAction(OptionTemplate, QStringLiteral("&Template..."),
                   QStringLiteral("Manage the templates"));
    route(a, [this] {
        if (onManageTemplates)
            onManageTemplates();
    });
    option->addAction(a);
    connect(option, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    a = MakeAction(ViewToolbar, QStringLiteral("&Toolbar"),
                   QStringLiteral("Show or hide the toolbar"), QStringLiteral("Toggle ToolBar"));
    a->setCheckable(true);
    a->setChecked(true);
    viewMenu->addAction(a);
    a = MakeAction(ViewStatusBar, QStringLiteral("&Status Bar"),
                   QStringLiteral("Show or hide the status bar"),
                   QStringLiteral("Toggle StatusBar"));
    a->setCheckable(true);
    a->setChecked(true);
    viewMenu->addAction(a);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    a = MakeAction(HelpTopics, QStringLiteral("&Help Topics"), QStringLiteral("List Help topics"),
                   QStringLiteral("Help Topics"));
    route(a, [app] { app->OnHelpTopics(); });
    help->addAction(a);
    a = MakeAction(HelpTutorial, QStringLiteral("&Tutorial"),
                   QStringLiteral("Tutorial to guide you working"));
    route(a, [app] { app->OnHelpTutorial(); });
    help->addAction(a);
    a = MakeAction(HelpSearch, QStringLiteral("&Search for Help on ..."),
                   QStringLiteral("Search the keyword"));
    route(a, [app] { app->OnHelpSearch(); });
    help->addAction(a);
    a = MakeAction(HelpViewSample, QStringLiteral("&View Sample"),
                   QStringLiteral("View this widget's sample"));
    route(a, [doc] { doc()->OnViewSample(); });
    help->addAction(a);
    help->addSeparator();
    a = MakeAction(HelpFaq, QStringLiteral("&Frequently Asked Questions"),
                   QStringLiteral("User frequently asked questions"));
    route(a, [app] { app->OnHelpFaq(); });
    help->addAction(a);
    help->addSeparator();
    a = MakeAction(AppAbout, QStringLiteral("&About Quillary Foldline..."), QString());
    route(a, [app] { app->OnAppAbout(); });
    help->addAction(a);
    connect(help, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);

    // F1 and Shift+F1: help for the window, and the context-help mode.
    auto* contextHelp = new QAction(this);
    contextHelp->setShortcut(QKeySequence(Qt::Key_F1));
    connect(contextHelp, &QAction::triggered, this,
            [this, app] { RunCommand([app] { app->OnHelpTopics(); }); });
    addAction(contextHelp);
    auto* whatsThis = new QAction(this);
    whatsThis->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    connect(whatsThis, &QAction::triggered, this, [] { QWhatsThis::enterWhatsThisMode(); });
    addAction(whatsThis);
}

void CMainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(QStringLiteral("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("Standard"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_actions[FileNew]->setIcon(host::ToolbarIcon(host::ToolbarImage::New));
    m_actions[FileOpen]->setIcon(host::ToolbarIcon(host::ToolbarImage::Open));
    m_actions[FileSave]->setIcon(host::ToolbarIcon(host::ToolbarImage::Save));
    m_actions[FileSaveAsTemplate]->setIcon(host::ToolbarIcon(host::ToolbarImage::SaveAsTemplate));
    m_actions[EditConfigure]->setIcon(host::ToolbarIcon(host::ToolbarImage::Configure));
    m_actions[EditPreview]->setIcon(host::ToolbarIcon(host::ToolbarImage::Preview));
    m_toolBar->addAction(m_actions[FileNew]);
    m_toolBar->addAction(m_actions[FileOpen]);
    m_toolBar->addAction(m_actions[FileSave]);
    m_toolBar->addAction(m_actions[FileSaveAsTemplate]);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_actions[EditConfigure]);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_actions[EditPreview]);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    connect(m_actions[ViewToolbar], &QAction::toggled, m_toolBar, &QToolBar::setVisible);
    connect(m_toolBar, &QToolBar::visibilityChanged, m_actions[ViewToolbar], &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    // A normal widget: it gives way to the command prompts and returns when they clear.
    m_messagePane = new QLabel(QString::fromUtf8(host::kIdleStatus), bar);
    bar->addWidget(m_messagePane, 1);
    for (int i = 0; i < 3; ++i) {
        m_indicators[i] = new QLabel(QString::fromUtf8(kIndicatorTexts[i]), bar);
        m_indicators[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_indicators[i]->setAlignment(Qt::AlignCenter);
        m_indicators[i]->setEnabled(false);
        bar->addPermanentWidget(m_indicators[i]);
    }
    connect(m_actions[ViewStatusBar], &QAction::toggled, bar, &QStatusBar::setVisible);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // Qt cannot ask the keyboard for its lock states, so the indicators follow the lock keys.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == this) {
            for (int i = 0; i < 3; ++i)
                if (key->key() == kIndicatorKeys[i])
                    m_indicators[i]->setEnabled(!m_indicators[i]->isEnabled());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::UpdateCaption() {
    CQuillaryToolDoc* doc = m_app->Document();
    const QString title = doc != nullptr ? doc->GetTitle() : QString();
    setWindowTitle(title.isEmpty()
                       ? QString::fromUtf8(host::kAppTitle)
                       : title + QStringLiteral(" - ") + QString::fromUtf8(host::kAppTitle));
}

void CMainFrame::UpdateRecentFileMenu() {
    const QStringList& entries = m_app->RecentFiles().Entries();
    for (int i = 0; i < 4; ++i) {
        QAction* action = m_recentActions[i];
        const bool used = i < entries.size();
        action->setVisible(used);
        if (used)
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(entries[i]));
    }
    m_recentSeparator->setVisible(!entries.isEmpty());
}

void CMainFrame::UpdateCommandUI() {
    CQuillaryToolDoc* doc = m_app->Document();
    const bool widget = doc != nullptr && doc->HasComponent();
    bool canCopy = false;
    if (widget) {
        try {
            canCopy = doc->CanCopySupportFiles();
        } catch (const std::exception&) {
            canCopy = false;
        }
    }
    for (Command c : {FileSave, FileSaveAs, EditConfigure, EditRename, EditLocalHtml, EditWebHtml,
                      EditModernHtml, HelpViewSample})
        m_actions[c]->setEnabled(widget);
    m_actions[FileCopySupportFiles]->setEnabled(canCopy);
    m_actions[FileSaveAsTemplate]->setEnabled(widget && bool(onSaveAsTemplate));
    m_actions[EditPreview]->setEnabled(widget && bool(onPreview));
    m_actions[EditModernPreview]->setEnabled(widget && bool(onPreview));
    m_actions[OptionWebBrowser]->setEnabled(bool(onWebBrowser));
    m_actions[OptionTemplate]->setEnabled(bool(onManageTemplates));
    UpdateRecentFileMenu();
}

void CMainFrame::RestorePlacement(QSettings& profile) {
    profile.beginGroup(QString::fromUtf8(host::kSectionFrame));
    const int status = profile.value(QStringLiteral("Status"), -1).toInt();
    const int top = profile.value(QStringLiteral("Top"), -1).toInt();
    const int left = profile.value(QStringLiteral("Left"), -1).toInt();
    const int bottom = profile.value(QStringLiteral("Bottom"), -1).toInt();
    const int right = profile.value(QStringLiteral("Right"), -1).toInt();
    profile.endGroup();
    if (status == -1 || top == -1 || left == -1 || bottom == -1 || right == -1)
        return;

    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect workArea = screen->availableGeometry();
    const QRect screenRect = screen->geometry();
    const int iconWidth = style()->pixelMetric(QStyle::PM_LargeIconSize);
    const int iconHeight = iconWidth;
    const int x = std::min(left + workArea.left(), screenRect.width() - iconWidth);
    const int y = std::min(top + workArea.top(), screenRect.height() - iconHeight);
    setGeometry(x, y, right - left, bottom - top);
    m_firstShowState = status == kShowMaximized   ? Qt::WindowMaximized
                       : status == kShowMinimized ? Qt::WindowMinimized
                                                  : Qt::WindowNoState;
}

void CMainFrame::SavePlacement(QSettings& profile) const {
    const Qt::WindowStates state = windowState();
    const int status = state & Qt::WindowMinimized   ? kShowMinimized
                       : state & Qt::WindowMaximized ? kShowMaximized
                                                     : kShowNormal;
    QRect normal = normalGeometry();
    if (!normal.isValid())
        normal = geometry();
    QRect workArea;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        workArea = screen->availableGeometry();
    profile.beginGroup(QString::fromUtf8(host::kSectionFrame));
    profile.setValue(QStringLiteral("Status"), status);
    profile.setValue(QStringLiteral("Top"), normal.top() - workArea.top());
    profile.setValue(QStringLiteral("Left"), normal.left() - workArea.left());
    profile.setValue(QStringLiteral("Bottom"), normal.top() + normal.height() - workArea.top());
    profile.setValue(QStringLiteral("Right"), normal.left() + normal.width() - workArea.left());
    profile.endGroup();
}

void CMainFrame::ShowFirst() {
    if (m_firstShowState & Qt::WindowMaximized)
        showMaximized();
    else if (m_firstShowState & Qt::WindowMinimized)
        showMinimized();
    else
        show();
    UpdateCommandUI();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The placement is kept even when the user then cancels the close.
    if (auto profile = CQuillaryToolApp::Profile())
        SavePlacement(*profile);
    CQuillaryToolDoc* doc = m_app->Document();
    // A save prompt that fails keeps the window open rather than losing the widget.
    bool mayClose = false;
    RunCommand([doc, &mayClose] { mayClose = doc == nullptr || doc->SaveModified(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
}
