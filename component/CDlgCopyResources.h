// The "Copy Resources" dialog: the support files whose names are already taken in the
// destination folder, with in-place renaming of the copies.
#pragma once

#include "CopySupportFiles.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QLabel;
class QTreeWidget;

class CDlgCopyResources : public QDialog, public IConflictResolver {
    Q_OBJECT

public:
    // destinationFolder ends with "/".
    explicit CDlgCopyResources(const std::string& destinationFolder, QWidget* parent = nullptr);
    ~CDlgCopyResources() override;

    // Adds a model reference (which OK may rewrite) under its current path.
    void AddConflict(std::string* reference);
    int ConflictCount() const { return m_conflictCount; }
    const std::string& DestinationFolder() const { return m_destination; }

    // One row per distinct source path.
    int RowCount();
    QString RowDestinationName(int row);
    QString RowSourcePath(int row);
    // The end of an in-place edit. An empty name is ignored; a name that could leave the
    // destination folder (a separator, "." or "..") is refused. False when the name is kept.
    bool RenameRow(int row, const QString& name);

    // The buttons.
    void OnRename();
    void OnBrowse();
    // Shows the clashes (through Runner()); on OK each clash takes its row's destination name,
    // and copying then copies every row once and points its references at the copy.
    bool ResolveConflicts(const std::string& destinationFolder,
                          std::vector<CopyConflict>& conflicts) override;

    QTreeWidget* List() const { return m_list; }

    // How ResolveConflicts shows the dialog: exec() by default; tests answer it instead.
    static std::function<bool(CDlgCopyResources&)>& Runner();

    // A resolver that makes the dialog only when there are clashes and it can be shown; without
    // a screen the clashes are left as Escape leaves them.
    class OnDemand final : public IConflictResolver {
    public:
        bool ResolveConflicts(const std::string& destinationFolder,
                              std::vector<CopyConflict>& conflicts) override;
    };

protected:
    void showEvent(QShowEvent* event) override;

private:
    void EnsureRows();

    std::string m_destination;
    std::map<std::string, std::vector<std::string*>> m_conflicts;
    int m_conflictCount = 0;
    bool m_rowsCurrent = false;
    // Row i belongs to m_rowSources[i].
    std::vector<std::string> m_rowSources;
    QLabel* m_folderLabel = nullptr;
    QTreeWidget* m_list = nullptr;
};
