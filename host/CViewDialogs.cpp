#include "CViewDialogs.h"

#include "HostServices.h"
#include "NameRule.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CDlgRename::CDlgRename(const QString& name, const QString& description, QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit(name, this)),
      m_description(new QLineEdit(description, this)) {
    setWindowTitle(tr("Rename"));
    auto* form = new QFormLayout;
    form->addRow(tr("Name:"), m_name);
    form->addRow(tr("Description:"), m_description);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(host::OkCancelButtons(this));
    m_name->setMinimumWidth(240);
}

QString CDlgRename::Name() const {
    return m_name->text();
}
QString CDlgRename::Description() const {
    return m_description->text();
}

void CDlgRename::accept() {
    switch (host::CheckName(Name())) {
    case host::NameCheck::Empty:
        host::Message(this, host::NameMessage(host::kMsgEnterName));
        m_name->setFocus();
        return;
    case host::NameCheck::InvalidCharacter:
        host::Message(this, host::NameMessage(host::kMsgInvalidWidgetName));
        m_name->setFocus();
        return;
    case host::NameCheck::Ok:
        break;
    }
    QDialog::accept();
}

CDlgGetLocalHtml::CDlgGetLocalHtml(const QString& previewPath, QWidget* parent)
    : QDialog(parent), m_path(new QLineEdit(previewPath, this)) {
    setWindowTitle(tr("Get Local HTML"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(tr("Current Preview Path:"), this);
    host::NameByLabel(caption, m_path);
    layout->addWidget(caption);
    layout->addWidget(m_path);
    layout->addWidget(host::OkCancelButtons(this));
    m_path->setMinimumWidth(300);
}

QString CDlgGetLocalHtml::PreviewPath() const {
    return m_path->text();
}

QString NormalizePreviewPath(const QString& path) {
    if (path.isEmpty())
        return path;
    QString normalized = path;
    normalized.replace('\\', '/');
    if (!normalized.endsWith('/'))
        normalized += '/';
    return normalized;
}
