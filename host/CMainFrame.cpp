#include "CMainFrame.h"

#include "CLivePreview.h"
#include "CQuillaryToolApp.h"
#include "CQuillaryToolDoc.h"
#include "CQuillaryToolView.h"
#include "DispatchDriver.h"
#include "FoldlineDispatch.h"
#include "HostIcons.h"
#include "HostServices.h"
#include "HostStrings.h"
#include "MainFrameCommands.h"
#include "SiteCommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWhatsThis>

#include <algorithm>
#include <cstring>
#include <exception>

namespace {

// The platform's numbering of show states.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

const char* const kIndicatorTexts[3] = {QT_TRANSLATE_NOOP("CMainFrame", "CAP"),
                                        QT_TRANSLATE_NOOP("CMainFrame", "NUM"),
                                        QT_TRANSLATE_NOOP("CMainFrame", "SCRL")};
const char* const kIndicatorNames[3] = {QT_TRANSLATE_NOOP("CMainFrame", "Caps Lock"),
                                        QT_TRANSLATE_NOOP("CMainFrame", "Num Lock"),
                                        QT_TRANSLATE_NOOP("CMainFrame", "Scroll Lock")};
const int kIndicatorKeys[3] = {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock};

} // namespace

using main_frame::Before;
using main_frame::Enable;

namespace {

// The buttons Qt adds for what a narrow window cannot show carry no name of their own.
void NameOverflowButton(QWidget* bar, const char* objectName, const QString& name) {
    if (auto* button = bar->findChild<QToolButton*>(QString::fromLatin1(objectName)))
        button->setAccessibleName(name);
}

} // namespace

CMainFrame::CMainFrame(CQuillaryToolApp* app) : m_app(app) {
    setWindowIcon(host::ProgramIcon());
    setAcceptDrops(true);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    NameOverflowButton(menuBar(), "qt_menubar_ext_button", tr("More menus"));
    NameOverflowButton(m_toolBar, "qt_toolbar_ext_button", tr("More tools"));
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
}

CQuillaryToolView* CMainFrame::View() const {
    return qobject_cast<CQuillaryToolView*>(centralWidget());
}

void CMainFrame::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const CDispatchException& e) {
        host::Message(this, e.description.empty()
                                ? tr("The widget component failed (%1).")
                                      .arg(QString::fromStdString(HResultToHex(e.hr)))
                                : QString::fromStdString(e.description));
    } catch (const std::exception& e) {
        host::Message(this, QString::fromUtf8(e.what()));
    }
    UpdateCommandUI();
}

QAction* CMainFrame::AddCommand(QMenu* menu, const CommandRow& row) {
    QString text = tr(row.text);
    // Text after a tab is what the menu shows as the key instead of the shortcut's own name.
    if (row.shownKey)
        text += '\t' + QString::fromUtf8(row.shownKey);
    auto* action = new QAction(text, this);
    action->setStatusTip(row.prompt ? tr(row.prompt) : QString());
    if (row.toolTip)
        action->setToolTip(tr(row.toolTip));
    QList<QKeySequence> keys = QKeySequence::listFromString(QString::fromUtf8(row.keys));
    keys.removeAll(QKeySequence());
    action->setShortcuts(keys);
    if (row.checked)
        action->setCheckable(true);
    if (row.handler) {
        CQuillaryToolApp* app = m_app;
        auto* handler = row.handler;
        connect(action, &QAction::triggered, this,
                [this, app, handler] { RunCommand([app, handler] { handler(*app); }); });
    } else {
        action->setCheckable(true);
        action->setChecked(true);
    }
    menu->addAction(action);
    m_actions[row.command] = action;
    return action;
}

void CMainFrame::AddRecentFileSection(QMenu* menu) {
    m_recentSeparator = menu->addSeparator();
    for (int i = 0; i < host::kRecentFileCount; ++i) {
        auto* recent = new QAction(this);
        recent->setStatusTip(tr("Open this document"));
        CQuillaryToolApp* app = m_app;
        connect(recent, &QAction::triggered, this, [this, app, i] {
            RunCommand([app, i] {
                const QStringList& entries = app->RecentFiles().Entries();
                if (i < entries.size())
                    app->OpenDocumentFile(entries[i], i);
            });
        });
        m_recentActions[i] = recent;
        menu->addAction(recent);
    }
    menu->addSeparator();
}

void CMainFrame::CreateMenus() {
    QMenu* menu = nullptr;
    const char* title = nullptr;
    for (const CommandRow& row : MainFrameCommands()) {
        if (title == nullptr || std::strcmp(title, row.menu) != 0) {
            title = row.menu;
            menu = menuBar()->addMenu(tr(title));
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        }
        if (row.before == Before::Separator)
            menu->addSeparator();
        else if (row.before == Before::RecentFiles)
            AddRecentFileSection(menu);
        AddCommand(menu, row);
    }
    AddContextHelpKeys();
}

void CMainFrame::AddContextHelpKeys() {
    // F1 and Shift+F1: help for the window, and the context-help mode.
    auto* contextHelp = new QAction(this);
    contextHelp->setShortcut(QKeySequence(Qt::Key_F1));
    CQuillaryToolApp* app = m_app;
    connect(contextHelp, &QAction::triggered, this,
            [this, app] { RunCommand([app] { app->OnHelpTopics(); }); });
    addAction(contextHelp);
    auto* whatsThis = new QAction(this);
    whatsThis->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    connect(whatsThis, &QAction::triggered, this, [] { QWhatsThis::enterWhatsThisMode(); });
    addAction(whatsThis);
}

void CMainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(tr("Standard"), this);
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
    m_messagePane = new QLabel(tr(host::kIdleStatus), bar);
    bar->addWidget(m_messagePane, 1);
    for (int i = 0; i < 3; ++i) {
        m_indicators[i] = new QLabel(tr(kIndicatorTexts[i]), bar);
        m_indicators[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_indicators[i]->setAlignment(Qt::AlignCenter);
        m_indicators[i]->setEnabled(false);
        // Announced as the lock it shows; disabled while the lock is off.
        m_indicators[i]->setAccessibleName(tr(kIndicatorNames[i]));
        bar->addPermanentWidget(m_indicators[i]);
    }
    connect(m_actions[ViewStatusBar], &QAction::toggled, bar, &QStatusBar::setVisible);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the program passes here. Only key presses and drags are looked at: the
    // others go to objects of every kind, the web engine's among them, some half destroyed.
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::DragEnter && type != QEvent::DragMove &&
        type != QEvent::Drop)
        return QMainWindow::eventFilter(watched, event);
    const bool mine = watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this;
    // Qt cannot ask the keyboard for its lock states, so the indicators follow the lock keys.
    if (mine && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            for (int i = 0; i < 3; ++i)
                if (key->key() == kIndicatorKeys[i])
                    m_indicators[i]->setEnabled(!m_indicators[i]->isEnabled());
        }
    }
    if (mine && HandleFileDrop(event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::HandleFileDrop(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    // Whatever part of the window is under it, a widget file is taken by the window.
    auto* drop = static_cast<QDropEvent*>(event);
    QString file;
    if (drop->mimeData() != nullptr) {
        for (const QUrl& url : drop->mimeData()->urls()) {
            if (url.isLocalFile() &&
                url.toLocalFile().endsWith(QString::fromUtf8(host::kDocExtension),
                                           Qt::CaseInsensitive)) {
                file = url.toLocalFile();
                break;
            }
        }
    }
    // Opening only reads the file: the drop is a copy (or a link), never a move after which the
    // dragging program would delete its file.
    const Qt::DropActions offered = drop->possibleActions();
    const Qt::DropAction action = offered.testFlag(Qt::CopyAction)   ? Qt::CopyAction
                                  : offered.testFlag(Qt::LinkAction) ? Qt::LinkAction
                                                                     : Qt::IgnoreAction;
    if (file.isEmpty() || action == Qt::IgnoreAction)
        return false;
    drop->setDropAction(action);
    drop->accept();
    // Opened after the drop has ended: the save question must not hold the dragging program.
    if (type == QEvent::Drop)
        QTimer::singleShot(
            0, this, [this, file] { RunCommand([this, file] { m_app->OpenDocumentFile(file); }); });
    return true;
}

void CMainFrame::ShowLivePreview(bool shown) {
    if (shown == (m_livePreview != nullptr))
        return;
    int width = 0;
    if (shown) {
        m_livePreviewDock = new QDockWidget(tr("Live Preview"), this);
        m_livePreviewDock->setObjectName(QStringLiteral("LivePreview"));
        // View, "Live Preview" is the one switch; the pane is neither closed nor floated alone.
        m_livePreviewDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
        m_livePreview = new CLivePreview(m_livePreviewDock, &CQuillaryToolApp::Profile);
        m_livePreviewDock->setWidget(m_livePreview);
        addDockWidget(Qt::RightDockWidgetArea, m_livePreviewDock);
        // Laid out now, so that fitting the window to the form counts the pane's room.
        layout()->activate();
        width = m_livePreviewDock->sizeHint().width();
        RefreshLivePreview();
    } else {
        width = -m_livePreviewDock->width();
        removeDockWidget(m_livePreviewDock);
        delete m_livePreviewDock;
        m_livePreviewDock = nullptr;
        m_livePreview = nullptr;
    }
    // The form keeps its room: the window grows and shrinks by the pane.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        resize(std::max(width + this->width(), minimumSizeHint().width()), height());
}

void CMainFrame::RefreshLivePreview() {
    if (m_livePreview == nullptr)
        return;
    CQuillaryToolDoc* doc = m_app->Document();
    CTessel* widget = doc != nullptr && doc->HasComponent() ? doc->Component() : nullptr;
    std::string html;
    if (widget != nullptr) {
        // The runtime beside the component draws the widget, as it does on pages.
        m_livePreview->SetRuntimeFolder(QString::fromStdString(widget->componentFolder));
        try {
            html = widget->GetHTMLBody(0, kHtmlLivePreview);
        } catch (const std::exception&) {
            // A widget that cannot answer is not drawn; the commands report its failures.
            html.clear();
        }
    }
    m_livePreview->ShowMarkup(QString::fromStdString(html));
}

void CMainFrame::UpdateCaption() {
    CQuillaryToolDoc* doc = m_app->Document();
    QString title = doc != nullptr ? doc->GetTitle() : QString();
    // Unsaved changes are marked as desktop programs mark them, before the document's name.
    if (!title.isEmpty() && doc->IsModified())
        title.prepend('*');
    setWindowTitle(title.isEmpty()
                       ? QString::fromUtf8(host::kAppTitle)
                       : title + QStringLiteral(" - ") + QString::fromUtf8(host::kAppTitle));
}

void CMainFrame::UpdateRecentFileMenu() {
    // Another running program may have added files since.
    m_app->RecentFiles().Refresh();
    const QStringList& entries = m_app->RecentFiles().Entries();
    for (int i = 0; i < host::kRecentFileCount; ++i) {
        QAction* action = m_recentActions[i];
        const bool used = i < entries.size();
        action->setVisible(used);
        if (used)
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                QString(entries[i]).replace('&', QStringLiteral("&&"))));
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
    for (const CommandRow& row : MainFrameCommands()) {
        const bool enabled = row.enable == Enable::Always       ? true
                             : row.enable == Enable::WithWidget ? widget
                                                                : canCopy;
        m_actions[row.command]->setEnabled(enabled);
        if (row.checked)
            m_actions[row.command]->setChecked(row.checked(*m_app));
    }
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
