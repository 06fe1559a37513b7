// The "Copy Resources" dialog: the support files whose names are already taken in the
// destination folder, with in-place renaming of the copies.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QLabel;
class QTreeWidget;

class CDlgCopyResources : public QDialog {
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
    // OK: copies every row once and points its references at the copy.
    void accept() override;

    QTreeWidget* List() const { return m_list; }

    // How CopySupportFiles shows the dialog: exec() by default; tests answer it instead.
    static std::function<bool(CDlgCopyResources&)>& Runner();

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
