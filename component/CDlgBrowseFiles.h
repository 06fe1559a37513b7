// The "Browse Files" dialog: lists the files of a folder that match a set of patterns.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>

#include <vector>

class QListWidget;

class CDlgBrowseFiles : public QDialog {
    Q_OBJECT

public:
    // types: patterns separated by ";", e.g. "*.gif;*.au".
    CDlgBrowseFiles(const QString& folder, const QString& types, QWidget* parent = nullptr);
    ~CDlgBrowseFiles() override;

    // Fills the list. On a blank or missing folder it shows the message and returns false; the
    // dialog is then not to be shown.
    bool Init();

    QListWidget* List() const { return m_list; }
    // The icon of each pattern that found a file, in pattern order.
    const std::vector<QIcon>& Icons() const { return m_icons; }
    // The position in Icons() of the icon that a list row shows, -1 when out of range.
    int IconIndexOf(int row) const;

private:
    QString m_folder;
    QString m_types;
    std::vector<QIcon> m_icons;
    QListWidget* m_list = nullptr;
};
