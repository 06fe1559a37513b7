#include "TreeClipboard.h"

#include "QtText.h"

#include "CFurlin.h"
#include "MenuOutline.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <string_view>

namespace {

const QMimeData* ClipboardData() {
    return QGuiApplication::clipboard()->mimeData();
}

} // namespace

bool CopyItemToClipboard(const CFurlinItem& item) {
    const std::string bytes = item.ToBytes();
    if (bytes.empty())
        return false;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kItemClipboardFormat),
                  QByteArray(bytes.data(), qsizetype(bytes.size())));
    data->setText(ToQt(WriteOutline(item)));
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool ClipboardHasItem() {
    const QMimeData* data = ClipboardData();
    return data && data->hasFormat(QString::fromLatin1(kItemClipboardFormat));
}

bool ClipboardHasOutline() {
    const QMimeData* data = ClipboardData();
    return data && data->hasText() && !data->text().trimmed().isEmpty();
}

std::unique_ptr<CFurlinItem> ItemFromClipboard() {
    const QMimeData* data = ClipboardData();
    if (!data || !data->hasFormat(QString::fromLatin1(kItemClipboardFormat)))
        return nullptr;
    const QByteArray block = data->data(QString::fromLatin1(kItemClipboardFormat));
    auto item = std::make_unique<CFurlinItem>();
    if (!item->FromBytes(std::string_view(block.constData(), std::size_t(block.size()))))
        return nullptr;
    return item;
}

QString ClipboardText() {
    const QMimeData* data = ClipboardData();
    return data ? data->text() : QString();
}
