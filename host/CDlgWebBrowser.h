// The "Web Browser" dialog: the system's default handler, a known browser, or a named program.
#pragma once

#include "CPreview.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLineEdit;
class QRadioButton;

class CDlgWebBrowser : public QDialog {
    Q_OBJECT
public:
    CDlgWebBrowser(const host::BrowserChoice& current, QWidget* parent = nullptr);

    // OK: false (after the message) while "User specified browser" has no program.
    bool TryAccept();
    void accept() override;
    void OnBrowse();
    // The choice after OK; settings not chosen keep their values.
    host::BrowserChoice Result() const;

    QRadioButton* useDefault;
    QRadioButton* useKnown;
    QRadioButton* useProgram;
    QComboBox* knownList;
    QLineEdit* programEdit;

private:
    host::BrowserChoice m_choice;
};

// Shows the dialog and, after OK, stores the choice in the profile.
bool RunWebBrowserDialog(host::BrowserChoice& choice, QWidget* parent);
