#include "CWebPathFileDialog.h"

#include "Prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <memory>

// The descriptions are translated where the chooser shows them (QtFilter).
const QString CWebPathFileDialog::kImageFilter =
    QString::fromLatin1(
        QT_TRANSLATE_NOOP("CWebPathFileDialog", "Image Files(*.GIF,*.JPG.*.JPEG)")) +
    QStringLiteral(" | *.gif;*.jpg;*.jpeg ||");
const QString CWebPathFileDialog::kAudioFilter =
    QString::fromLatin1(QT_TRANSLATE_NOOP("CWebPathFileDialog", "Audio Files(*.au)")) +
    QStringLiteral(" | *.au");
const QString CWebPathFileDialog::kClassFilter =
    QString::fromLatin1(QT_TRANSLATE_NOOP("CWebPathFileDialog", "Java Class(*.Class)")) +
    QStringLiteral(" | *.Class");

QString NormalizeWebPath(const QString& webPath) {
    if (webPath.isEmpty())
        return QString();
    QString out = webPath;
    out.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!out.endsWith(QLatin1Char('/')))
        out += QLatin1Char('/');
    return out;
}

CWebPathFileDialog::CWebPathFileDialog(QWidget* parent, const QString& fileName,
                                       const QString& filter, const QString& webPath)
    : m_parent(parent), m_fileName(fileName), m_filter(filter), m_webPathPreset(webPath),
      m_webPath(webPath) {}

CWebPathFileDialog::Runner& CWebPathFileDialog::DialogRunner() {
    static Runner runner;
    return runner;
}

QString CWebPathFileDialog::QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = tr(parts[i].trimmed().toUtf8().constData());
        QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return out.join(QStringLiteral(";;"));
}

QFileDialog* CWebPathFileDialog::CreateChooser() {
    auto* chooser = new QFileDialog(m_parent);
    chooser->setOption(QFileDialog::DontUseNativeDialog, true);
    chooser->setAcceptMode(QFileDialog::AcceptOpen);
    // The file need not exist yet: it is only named here and copied later.
    chooser->setFileMode(QFileDialog::AnyFile);
    const QString filters = QtFilter(m_filter);
    if (!filters.isEmpty())
        chooser->setNameFilters(filters.split(QStringLiteral(";;")));
    if (!m_fileName.isEmpty()) {
        const QFileInfo info(m_fileName);
        if (info.dir().exists())
            chooser->setDirectory(info.dir());
        chooser->selectFile(info.fileName());
    }

    auto* label = new QLabel(tr("Web Path:"), chooser);
    auto* edit = new QLineEdit(m_webPath, chooser);
    edit->setObjectName(QStringLiteral("webPath"));
    label->setBuddy(edit);
    QObject::connect(edit, &QLineEdit::textChanged, chooser,
                     [this](const QString& text) { m_webPath = text; });
    if (auto* grid = qobject_cast<QGridLayout*>(chooser->layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1, 1, grid->columnCount() - 1);
    } else if (chooser->layout()) {
        chooser->layout()->addWidget(label);
        chooser->layout()->addWidget(edit);
    }
    return chooser;
}

bool CWebPathFileDialog::Run() {
    m_filePath.clear();
    m_webPath = m_webPathPreset;
    if (const Runner& runner = DialogRunner()) {
        if (runner(*this))
            return true;
        m_filePath.clear();
        return false;
    }
    if (!ui::canShowDialogs())
        return false;
    std::unique_ptr<QFileDialog> chooser(CreateChooser());
    if (chooser->exec() != QDialog::Accepted || chooser->selectedFiles().isEmpty())
        return false;
    m_filePath = chooser->selectedFiles().constFirst();
    return true;
}
