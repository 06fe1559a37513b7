#include "CViewDialogs.h"

#include "HostServices.h"
#include "NameRule.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {} // namespace

CDlgRename::CDlgRename(const QString& name, const QString& description, QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit(name, this)),
      m_description(new QLineEdit(description, this)) {
    setWindowTitle(QStringLiteral("Rename"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), m_name);
    form->addRow(QStringLiteral("Description:"), m_description);
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
        host::Message(this, QString::fromUtf8(host::kMsgEnterName));
        m_name->setFocus();
        return;
    case host::NameCheck::InvalidCharacter:
        host::Message(this, QString::fromUtf8(host::kMsgInvalidWidgetName));
        m_name->setFocus();
        return;
    case host::NameCheck::Ok:
        break;
    }
    QDialog::accept();
}

CDlgGetLocalHtml::CDlgGetLocalHtml(const QString& previewPath, QWidget* parent)
    : QDialog(parent), m_path(new QLineEdit(previewPath, this)) {
    setWindowTitle(QStringLiteral("Get Local HTML"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(QStringLiteral("Current Preview Path:"), this);
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
