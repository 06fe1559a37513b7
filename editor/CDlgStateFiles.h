// The common part of the "Image" and "Audio" dialogs: one local path per item state, each with
// a hidden web-folder companion, and the "Apply to" scope.
#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QButtonGroup;
class QLineEdit;

class CDlgStateFiles : public QDialog {
    Q_OBJECT
public:
    enum { kThisItem = 0, kSameMenu = 1, kAllItems = 2 };

    int StateCount() const { return static_cast<int>(m_states.size()); }
    QString Path(int state) const { return m_states[state].path; }
    QString WebPath(int state) const { return m_states[state].webPath; }
    void SetState(int state, const QString& path, const QString& webPath);
    int ApplyScope() const { return m_applyScope; }
    void SetApplyScope(int scope);

    // The path fields, in state order.
    QLineEdit* PathField(int state) const { return m_states[state].edit; }

    // The "..." of one state: reads the fields, asks for a file and takes the chosen path and
    // the normalised web folder.
    void Browse(int state);

    void ReadControls();
    void FillControls();
    void accept() override;

protected:
    // chooseName names each state's "..." button, with the state's name as %1.
    CDlgStateFiles(const QString& title, const QStringList& stateLabels, const QString& chooseName,
                   const QString& filter, QWidget* parent);

private:
    struct State {
        QString path;
        QString webPath;
        QLineEdit* edit = nullptr;
    };
    std::vector<State> m_states;
    int m_applyScope = kThisItem;
    QButtonGroup* m_scope = nullptr;
    QString m_filter;
};
