#include "CDlgBrowseFiles.h"

#include "Prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Quillary Foldline");
constexpr int kIconIndexRole = Qt::UserRole + 1;

} // namespace

CDlgBrowseFiles::CDlgBrowseFiles(const QString& folder, const QString& types, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_types(types) {
    setWindowTitle(tr("Browse Files"));
    auto* label = new QLabel(tr("Files Existing in the Destination Directory:"), this);
    m_list = new QListWidget(this);
    m_list->setViewMode(QListView::ListMode);
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(true);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setSortingEnabled(true);
    m_list->sortItems(Qt::AscendingOrder);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
}

CDlgBrowseFiles::~CDlgBrowseFiles() = default;

bool CDlgBrowseFiles::Init() {
    if (m_folder.isEmpty() || m_types.isEmpty()) {
        ui::showMessage(this, kTitle, tr("The directory and file type can not be blank!"),
                        ui::Icon::Warning);
        return false;
    }
    QString folder = m_folder;
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    QString types = m_types;
    if (!types.endsWith(QLatin1Char(';')))
        types += QLatin1Char(';');

    QDir dir(folder);
    if (!QFileInfo(folder).isDir()) {
        ui::showMessage(this, kTitle, tr("Directory %1 does not exist!").arg(folder),
                        ui::Icon::Warning);
        return false;
    }

    const int side = QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize) / 2;
    m_list->setIconSize(QSize(side, side));

    QFileIconProvider provider;
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& pattern : types.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        // Patterns match names regardless of letter case, as the file search they come from did.
        const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                       QRegularExpression::CaseInsensitiveOption);
        int iconIndex = -1;
        for (const QString& name : files) {
            if (!match.match(name).hasMatch())
                continue;
            if (iconIndex < 0) {
                QIcon icon = provider.icon(QFileInfo(dir, name));
                if (icon.isNull())
                    icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
                m_icons.push_back(icon);
                iconIndex = static_cast<int>(m_icons.size()) - 1;
            }
            auto* item = new QListWidgetItem(m_icons[static_cast<std::size_t>(iconIndex)], name);
            item->setData(kIconIndexRole, iconIndex);
            m_list->addItem(item);
        }
    }
    return true;
}

int CDlgBrowseFiles::IconIndexOf(int row) const {
    QListWidgetItem* item = m_list->item(row);
    return item ? item->data(kIconIndexRole).toInt() : -1;
}
