// The two small dialogs of the view: Rename and Get Local HTML. Their checks run in accept(), so
// tests fill the fields and call accept() without exec().
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

class CDlgRename : public QDialog {
    Q_OBJECT

public:
    CDlgRename(const QString& name, const QString& description, QWidget* parent = nullptr);

    QString Name() const;
    QString Description() const;
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* DescriptionEdit() const { return m_description; }

    // Stays open with a message while the name breaks the name rule.
    void accept() override;

private:
    QLineEdit* m_name;
    QLineEdit* m_description;
};

class CDlgGetLocalHtml : public QDialog {
    Q_OBJECT

public:
    explicit CDlgGetLocalHtml(const QString& previewPath, QWidget* parent = nullptr);

    QString PreviewPath() const;
    QLineEdit* PathEdit() const { return m_path; }

private:
    QLineEdit* m_path;
};

// Backslashes become "/" and a non-empty folder ends with "/".
QString NormalizePreviewPath(const QString& path);
