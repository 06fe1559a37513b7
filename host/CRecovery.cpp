#include "CRecovery.h"

#include "CQuillaryToolDoc.h"
#include "TemplateFolders.h"

#include <QFile>
#include <QUrl>

#include <optional>

namespace host {
namespace {

const QByteArray kOriginKey = "Recovery Of = ";
const QByteArray kStampKey = "Recovery Stamp = ";
const QByteArray kSaveAsKey = "Recovery Save As = ";
const QByteArray kFirstMarker = "========== Description Part Begin ==========";

// The widget text of the document's work; none when the component cannot give it.
std::optional<std::string> WorkingText(CQuillaryToolDoc& document) {
    if (!document.HasComponent())
        return std::nullopt;
    try {
        return document.Component()->GetWorkingDocument();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The header lines of a copy: the lines before the widget's first part. A copy without them
// (written by hand, say) is still offered, as a widget never saved.
void ReadHeader(const QString& file, CRecoveryCopy& copy) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    for (int lines = 0; lines < 16 && !in.atEnd(); ++lines) {
        const QByteArray line = in.readLine(65536).trimmed();
        if (line == kFirstMarker)
            return;
        if (line.startsWith(kOriginKey.trimmed()))
            copy.originalPath = QUrl::fromPercentEncoding(line.mid(kOriginKey.size()).trimmed());
        else if (line.startsWith(kStampKey.trimmed()))
            copy.stamp = CDiskStamp::FromText(QString::fromLatin1(line.mid(kStampKey.size())));
        else if (line.startsWith(kSaveAsKey.trimmed()))
            copy.saveAsRequired = line.endsWith('1');
    }
}

} // namespace

CRecovery::CRecovery(CQuillaryToolDoc& document, const QString& shared)
    : m_document(document), m_folder(shared) {
    connect(&m_timer, &QTimer::timeout, this, &CRecovery::Tick);
    connect(&document, &CQuillaryToolDoc::modifiedChanged, this, &CRecovery::OnModifiedChanged);
    connect(&document, &CQuillaryToolDoc::dialogEditChanged, this, &CRecovery::OnDialogEditChanged);
}

CRecovery::~CRecovery() = default;

QString CRecovery::SharedFolder() {
    return QString::fromStdString(UserDataFolder()) + QStringLiteral("/recovery");
}

void CRecovery::Start(int intervalMs) {
    m_timer.start(intervalMs);
}

QString CRecovery::CopyPath() {
    const QString folder = m_folder.Path();
    return folder.isEmpty() ? QString() : folder + '/' + CopyName();
}

QByteArray CRecovery::Header() const {
    return kOriginKey + QUrl::toPercentEncoding(m_document.GetPathName(), "/") + "\r\n" +
           kStampKey + m_document.Stamp().ToText().toLatin1() + "\r\n" + kSaveAsKey +
           (m_document.SaveAsRequired() ? "1" : "0") + "\r\n";
}

void CRecovery::Tick() {
    if (!m_document.IsModified() && !m_document.InDialogEdit()) {
        RemoveCopy();
        return;
    }
    std::optional<std::string> text = WorkingText(m_document);
    if (!text)
        return; // the last copy is still the best there is
    // A dialog that has changed nothing yet leaves nothing to recover.
    if (!m_document.IsModified() && *text == m_clean) {
        RemoveCopy();
        return;
    }
    if (m_hasCopy && *text == m_written)
        return;
    const QString path = CopyPath();
    if (path.isEmpty())
        return;
    m_writer.Write(path, Header() + QByteArray::fromStdString(*text));
    m_written = std::move(*text);
    m_hasCopy = true;
}

void CRecovery::RemoveCopy() {
    if (!m_hasCopy)
        return;
    m_writer.Remove(CopyPath());
    m_written.clear();
    m_hasCopy = false;
}

void CRecovery::OnModifiedChanged(bool modified) {
    // Saved, opened or new: nothing unsaved is left.
    if (!modified && !m_document.InDialogEdit())
        RemoveCopy();
}

void CRecovery::OnDialogEditChanged(bool editing) {
    m_clean.clear();
    if (editing && !m_document.IsModified())
        m_clean = WorkingText(m_document).value_or(std::string());
    // Cancelled: the work is the saved widget again.
    if (!editing && !m_document.IsModified())
        RemoveCopy();
}

void CRecovery::Flush() {
    m_writer.Flush();
}

void CRecovery::Finish() {
    m_timer.stop();
    m_writer.Flush();
    m_folder.Remove();
    m_hasCopy = false;
    m_written.clear();
}

bool CRecovery::Adopt(std::unique_ptr<CClaimedFolder> folder, CRecoveryCopy& copy) {
    if (!folder)
        return false;
    copy.file = folder->Path() + '/' + CopyName();
    if (!QFile::exists(copy.file)) {
        folder->Remove(); // a program that ended with nothing unsaved
        return false;
    }
    ReadHeader(copy.file, copy);
    copy.folder = std::move(folder);
    return true;
}

bool CRecovery::TakeOverCopy(const QString& folder, CRecoveryCopy& copy) {
    return Adopt(CClaimedFolder::TakeOver(folder), copy);
}

std::vector<CRecoveryCopy> CRecovery::TakeOverLeftCopies(const QString& shared) {
    std::vector<CRecoveryCopy> copies;
    for (auto& folder : CClaimedFolder::TakeOverUnclaimed(shared)) {
        CRecoveryCopy copy;
        if (Adopt(std::move(folder), copy))
            copies.push_back(std::move(copy));
    }
    return copies;
}

} // namespace host
