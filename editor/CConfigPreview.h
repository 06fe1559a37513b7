// The configuration dialog's live preview: the "Live Preview" check box under the tree, the pane
// beside the pages and the profile that keeps the choice and the dialog's size. The pane draws a
// copy of the model with the shown page's values applied, so nothing is stored into the widget
// before the pages store it; a node selected in the tree is shown in the pane, and an item
// clicked in the pane selects its node.
#pragma once

#include "MenuTreeEdits.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class CDlgConfig;
class CLivePreview;
class QCheckBox;
class QSettings;
class QTreeWidgetItem;

class CConfigPreview : public QObject {
    Q_OBJECT
public:
    // The component's own profile: its file is not the program's.
    static constexpr const char* kProfileCompany = "Velloran";
    static constexpr const char* kProfileName = "Tessel Foldline";
    static constexpr const char* kShownKey = "Configuration Dialog/Live Preview";
    static constexpr const char* kSizeKey = "Configuration Dialog/Size";
    // From an edit to the pane being asked to draw it.
    static constexpr int kDelayMs = 30;

    CConfigPreview(CDlgConfig& dialog, QCheckBox* toggle, QWidget* area);
    ~CConfigPreview() override;

    static std::unique_ptr<QSettings> Profile();
    // The check box and the dialog's size as the profile keeps them; the pane follows the box.
    void Restore();

    // Null while the pane is hidden.
    CLivePreview* Pane() const { return m_pane; }
    // A node's identifier in the markup ("0.3.1"); empty for the root.
    static QString NodeId(const TreePath& path);
    static bool ParseNodeId(const QString& id, TreePath& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetShown(bool shown);
    void Schedule();
    void Render();
    void OnSelected(QTreeWidgetItem* node);
    void OnPicked(const QString& id);

    CDlgConfig& m_dialog;
    QCheckBox* m_toggle;
    QWidget* m_area;
    CLivePreview* m_pane = nullptr;
    QTimer m_delay;
};
