#include "CConfigCommands.h"

#include "CDlgConfig.h"
#include "CFurlin.h"
#include "CIconButton.h"
#include "CNodeMap.h"
#include "TreeClipboard.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidget>

namespace {

using C = CConfigCommands;

// Every command once: its menu entry, its keys (alternatives separated by ';') and its handler.
struct CommandInfo {
    C::Command command;
    const char* text;
    const char* keys;
    void (CDlgConfig::*run)();
    bool anywhere;
};
const CommandInfo kCommands[] = {
    {C::Cut, QT_TRANSLATE_NOOP("CConfigCommands", "&Cut"), "Ctrl+X", &CDlgConfig::OnCut, false},
    {C::Copy, QT_TRANSLATE_NOOP("CConfigCommands", "C&opy"), "Ctrl+C", &CDlgConfig::OnCopy, false},
    {C::Paste, QT_TRANSLATE_NOOP("CConfigCommands", "&Paste"), "Ctrl+V", &CDlgConfig::OnPaste,
     false},
    {C::Insert, QT_TRANSLATE_NOOP("CConfigCommands", "&Insert Menu/Item"), "Ins",
     &CDlgConfig::OnInsert, false},
    {C::Delete, QT_TRANSLATE_NOOP("CConfigCommands", "&Delete"), "Del", &CDlgConfig::OnDelete,
     false},
    {C::Visible, QT_TRANSLATE_NOOP("CConfigCommands", "&Visible"), "", &CDlgConfig::OnVisible,
     false},
    {C::MoveUp, QT_TRANSLATE_NOOP("CConfigCommands", "Move &Up"), "Alt+Up", &CDlgConfig::OnMoveUp,
     false},
    {C::MoveDown, QT_TRANSLATE_NOOP("CConfigCommands", "Move Do&wn"), "Alt+Down",
     &CDlgConfig::OnMoveDown, false},
    {C::InsertAfter, QT_TRANSLATE_NOOP("CConfigCommands", "Insert &After"),
     "Ctrl+Return;Ctrl+Enter", &CDlgConfig::OnInsertAfter, false},
    {C::Rename, QT_TRANSLATE_NOOP("CConfigCommands", "Rena&me"), "F2", &CDlgConfig::OnRename,
     false},
    {C::Undo, QT_TRANSLATE_NOOP("CConfigCommands", "U&ndo"), "Ctrl+Z", &CDlgConfig::OnUndo, true},
    {C::Redo, QT_TRANSLATE_NOOP("CConfigCommands", "&Redo"), "Ctrl+Shift+Z;Ctrl+Y",
     &CDlgConfig::OnRedo, true},
    {C::EditLink, QT_TRANSLATE_NOOP("CConfigCommands", "Edit Lin&k"), "Ctrl+L",
     &CDlgConfig::OnEditLink, false},
    {C::Find, QT_TRANSLATE_NOOP("CConfigCommands", "&Find..."), "Ctrl+F", &CDlgConfig::OnFind,
     true},
};

// The tool buttons, left to right.
struct ToolInfo {
    C::Command command;
    ButtonIcon icon;
    const char* tip;
};
const ToolInfo kTools[] = {
    {C::Cut, ButtonIcon::Cut, QT_TRANSLATE_NOOP("CConfigCommands", "Cut")},
    {C::Copy, ButtonIcon::Copy, QT_TRANSLATE_NOOP("CConfigCommands", "copy")},
    {C::Paste, ButtonIcon::Paste, QT_TRANSLATE_NOOP("CConfigCommands", "Paste")},
    {C::Insert, ButtonIcon::Insert, QT_TRANSLATE_NOOP("CConfigCommands", "Insert a item")},
    {C::Delete, ButtonIcon::Delete, QT_TRANSLATE_NOOP("CConfigCommands", "Delete the item")},
    {C::MoveUp, ButtonIcon::MoveUp, QT_TRANSLATE_NOOP("CConfigCommands", "Move up")},
    {C::MoveDown, ButtonIcon::MoveDown, QT_TRANSLATE_NOOP("CConfigCommands", "Move down")},
    {C::InsertAfter, ButtonIcon::InsertAfter, QT_TRANSLATE_NOOP("CConfigCommands", "Insert After")},
};

// The context menu: the commands in this order; kSeparator and kLookMenu mark the separators
// and the "Apply Look To" sub-menu.
constexpr int kSeparator = -1;
constexpr int kLookMenu = -2;
const int kMenuOrder[] = {C::Cut,     C::Copy,        C::Paste,   kSeparator,  C::Insert,
                          C::Delete,  C::Visible,     kSeparator, C::MoveUp,   C::MoveDown,
                          kSeparator, C::InsertAfter, C::Rename,  C::EditLink, kLookMenu,
                          kSeparator, C::Undo,        C::Redo,    kSeparator,  C::Find};

const char* const kLookScopes[] = {QT_TRANSLATE_NOOP("CConfigCommands", "Menus at the Same Depth"),
                                   QT_TRANSLATE_NOOP("CConfigCommands", "Sub-menus Below This One"),
                                   QT_TRANSLATE_NOOP("CConfigCommands", "All Menus")};

} // namespace

CConfigCommands::CConfigCommands(CDlgConfig& dialog) : m_dialog(dialog) {
    for (const ToolInfo& tool : kTools) {
        auto* button = new CIconButton(&dialog);
        button->SetIcon(QIcon(ButtonIconPixmap(tool.icon, 32)), 32, 32);
        button->setToolTip(tr(tool.tip));
        // Screen readers name a button without caption by its tooltip.
        button->setAccessibleName(button->toolTip());
        button->setFixedSize(40, 40);
        m_tools[tool.command] = button;
    }
}

void CConfigCommands::BuildEntries(QTreeWidget& tree) {
    CDlgConfig& dialog = m_dialog;
    for (const CommandInfo& info : kCommands) {
        auto* action = new QAction(tr(info.text), &dialog);
        QList<QKeySequence> keys;
        for (const QString& key : QString::fromLatin1(info.keys).split(';', Qt::SkipEmptyParts))
            keys << QKeySequence::fromString(key, QKeySequence::PortableText);
        action->setShortcuts(keys);
        action->setShortcutContext(info.anywhere ? Qt::WindowShortcut : Qt::WidgetShortcut);
        (info.anywhere ? static_cast<QWidget*>(&dialog) : &tree)->addAction(action);
        QObject::connect(action, &QAction::triggered, &dialog, info.run);
        if (CIconButton* button = m_tools[info.command]) {
            QObject::connect(button, &QPushButton::clicked, &dialog, info.run);
            button->SetKeyHint(action->shortcut().toString(QKeySequence::NativeText));
        }
        m_actions[info.command] = action;
    }
    m_actions[Visible]->setCheckable(true);
    BuildContextMenu();
}

void CConfigCommands::BuildContextMenu() {
    CDlgConfig& dialog = m_dialog;
    m_contextMenu = new QMenu(&dialog);
    m_lookMenu = new QMenu(tr("Apply &Look To"), &dialog);
    for (int scope = 0; scope < 3; ++scope)
        QObject::connect(m_lookMenu->addAction(tr(kLookScopes[scope])), &QAction::triggered,
                         &dialog,
                         [&dialog, scope] { dialog.ApplyLookTo(static_cast<LookScope>(scope)); });
    for (int entry : kMenuOrder) {
        if (entry == kSeparator)
            m_contextMenu->addSeparator();
        else if (entry == kLookMenu)
            m_contextMenu->addMenu(m_lookMenu);
        else
            m_contextMenu->addAction(m_actions[entry]);
    }
    QObject::connect(m_contextMenu, &QMenu::aboutToShow, &dialog, &CDlgConfig::UpdateCommandUI);
}

CIconButton* CConfigCommands::ToolButton(Command command) const {
    return command >= 0 && command < CommandCount ? m_tools[command] : nullptr;
}

std::vector<CIconButton*> CConfigCommands::ToolRow() const {
    std::vector<CIconButton*> row;
    for (const ToolInfo& tool : kTools)
        row.push_back(m_tools[tool.command]);
    return row;
}

void CConfigCommands::Update(const State& state) {
    const QTreeWidgetItem* node = state.selected;
    const bool selected = node != nullptr && state.ready;
    const NodeKind kind = CNodeMap::KindOf(node);
    const bool isItem = selected && (kind == NodeKind::BranchItem || kind == NodeKind::LeafItem);
    const bool notRoot = selected && kind != NodeKind::Root;
    bool allItems = state.ready && !state.targets.empty();
    bool noRoot = allItems;
    for (const QTreeWidgetItem* target : state.targets) {
        allItems = allItems && CNodeMap::ItemOf(target) != nullptr;
        noRoot = noRoot && CNodeMap::KindOf(target) != NodeKind::Root;
    }
    bool enabled[CommandCount] = {};
    enabled[Cut] = allItems;
    enabled[Copy] = allItems;
    enabled[Paste] = notRoot && (ClipboardHasItem() || ClipboardHasOutline());
    enabled[MoveUp] = noRoot;
    enabled[MoveDown] = noRoot;
    enabled[Visible] = notRoot;
    enabled[Insert] = true;
    enabled[Delete] = true;
    enabled[InsertAfter] = notRoot;
    enabled[Rename] = isItem;
    enabled[EditLink] = isItem;
    enabled[Find] = state.ready;
    enabled[Undo] = state.canUndo;
    enabled[Redo] = state.canRedo;
    for (int c = 0; c < CommandCount; ++c) {
        m_actions[c]->setEnabled(enabled[c]);
        if (m_tools[c])
            m_tools[c]->setEnabled(enabled[c]);
    }
    m_lookMenu->setEnabled(notRoot);
    bool visible = false;
    if (const CFurlin* menu = CNodeMap::MenuOf(node))
        visible = menu->Visible != 0;
    else if (const CFurlinItem* item = CNodeMap::ItemOf(node))
        visible = item->Visible != 0;
    m_actions[Visible]->setChecked(visible);
}
