#include "CConfigPreview.h"

#include "CDlgConfig.h"
#include "CEditSession.h"
#include "CLivePreview.h"
#include "PreviewMarkup.h"

#include <QCheckBox>
#include <QEvent>
#include <QLayout>
#include <QSettings>
#include <QTreeWidgetItem>

CConfigPreview::CConfigPreview(CDlgConfig& dialog, QCheckBox* toggle, QWidget* area)
    : QObject(&dialog), m_dialog(dialog), m_toggle(toggle), m_area(area) {
    m_area->hide();
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMs);
    connect(&m_delay, &QTimer::timeout, this, &CConfigPreview::Render);
    connect(m_toggle, &QCheckBox::toggled, this, [this](bool shown) {
        SetShown(shown);
        if (auto profile = Profile())
            profile->setValue(QString::fromUtf8(kShownKey), shown);
    });
    connect(&m_dialog, &CDlgConfig::ModelEdited, this, &CConfigPreview::Schedule);
    connect(&m_dialog, &CDlgConfig::NodeSelected, this, &CConfigPreview::OnSelected);
    m_dialog.installEventFilter(this);
}

CConfigPreview::~CConfigPreview() = default;

std::unique_ptr<QSettings> CConfigPreview::Profile() {
    return std::make_unique<QSettings>(QString::fromUtf8(kProfileCompany),
                                       QString::fromUtf8(kProfileName));
}

void CConfigPreview::Restore() {
    auto profile = Profile();
    const QSize size = profile->value(QString::fromUtf8(kSizeKey)).toSize();
    if (size.isValid())
        m_dialog.resize(size);
    // Shown until the author hides it: seeing the menu while building it is the point of the pane.
    m_toggle->setChecked(profile->value(QString::fromUtf8(kShownKey), true).toBool());
}

bool CConfigPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_dialog && event->type() == QEvent::Hide) {
        if (auto profile = Profile())
            profile->setValue(QString::fromUtf8(kSizeKey), m_dialog.size());
    }
    return QObject::eventFilter(watched, event);
}

void CConfigPreview::SetShown(bool shown) {
    if (shown == (m_pane != nullptr))
        return;
    // The pages keep their room: the dialog grows and shrinks by the pane.
    const int spacing = m_dialog.layout()->spacing();
    const int before = m_dialog.width();
    int grow = CLivePreview::kPreferredWidth + spacing;
    if (shown) {
        m_pane = new CLivePreview(m_area, &CConfigPreview::Profile);
        m_pane->SetRuntimeFolder(QString::fromStdString(CAppletParameters::ComponentFolder()));
        m_area->layout()->addWidget(m_pane);
        connect(m_pane, &CLivePreview::Picked, this, &CConfigPreview::OnPicked);
        if (QTreeWidgetItem* node = m_dialog.SelectedNode())
            m_pane->Reveal(NodeId(CDlgConfig::PathOf(node)));
        m_area->show();
        Schedule();
    } else {
        m_dialog.layout()->activate();
        grow = -(m_area->width() + spacing);
        // A hidden pane holds no engine; showing it again starts a fresh one.
        m_area->hide();
        delete m_pane;
        m_pane = nullptr;
    }
    // A dialog never resized by hand has followed its layout already.
    m_dialog.layout()->activate();
    if (m_dialog.isVisible() && m_dialog.width() == before)
        m_dialog.resize(before + grow, m_dialog.height());
}

void CConfigPreview::Schedule() {
    if (m_pane && !m_delay.isActive())
        m_delay.start();
}

void CConfigPreview::Render() {
    const CEditSession* session = m_dialog.Session();
    if (!m_pane || !session || !m_dialog.IsReady())
        return;
    CAppletParameters scratch;
    scratch.Assign(session->Model());
    m_dialog.ApplyPageValuesTo(scratch);
    m_pane->ShowMarkup(QString::fromStdString(PreviewMarkup(scratch, true)));
}

void CConfigPreview::OnSelected(QTreeWidgetItem* node) {
    if (!m_pane)
        return;
    m_pane->Reveal(NodeId(CDlgConfig::PathOf(node)));
    // Another page is shown: its values are what the pane draws from now on.
    Schedule();
}

void CConfigPreview::OnPicked(const QString& id) {
    TreePath path;
    QTreeWidgetItem* node = ParseNodeId(id, path) ? m_dialog.NodeAt(path) : nullptr;
    if (!node)
        return;
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        up->setExpanded(true);
    m_dialog.SelectNode(node);
    m_dialog.Tree()->scrollToItem(node);
}

QString CConfigPreview::NodeId(const TreePath& path) {
    QStringList parts;
    for (int index : path)
        parts << QString::number(index);
    return parts.join(QLatin1Char('.'));
}

bool CConfigPreview::ParseNodeId(const QString& id, TreePath& path) {
    path.clear();
    for (const QString& part : id.split(QLatin1Char('.'))) {
        bool ok = false;
        const int index = part.toInt(&ok);
        if (!ok || index < 0)
            return false;
        path.push_back(index);
    }
    return !path.empty();
}
