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

QString Format(const char* name) {
    return QString::fromLatin1(name);
}

std::unique_ptr<CFurlinItem> ItemOfBytes(std::string_view bytes) {
    auto item = std::make_unique<CFurlinItem>();
    if (!item->FromBytes(bytes))
        return nullptr;
    return item;
}

} // namespace

bool CopyItemToClipboard(const CFurlinItem& item) {
    return CopyItemsToClipboard({&item});
}

// The first item's block stays in the one-item format, for readers that know only that one.
bool CopyItemsToClipboard(const std::vector<const CFurlinItem*>& items) {
    std::vector<std::string> blocks;
    std::string outline;
    for (const CFurlinItem* item : items) {
        blocks.push_back(item->ToBytes());
        if (blocks.back().empty())
            return false;
        outline += WriteOutline(*item);
    }
    if (blocks.empty())
        return false;
    auto* data = new QMimeData;
    data->setData(Format(kItemClipboardFormat),
                  QByteArray(blocks.front().data(), qsizetype(blocks.front().size())));
    if (blocks.size() > 1)
        data->setData(Format(kItemListClipboardFormat), ItemListBytes(blocks));
    data->setText(ToQt(outline));
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool ClipboardHasItem() {
    const QMimeData* data = ClipboardData();
    return data && (data->hasFormat(Format(kItemClipboardFormat)) ||
                    data->hasFormat(Format(kItemListClipboardFormat)));
}

bool ClipboardHasOutline() {
    const QMimeData* data = ClipboardData();
    return data && data->hasText() && !data->text().trimmed().isEmpty();
}

std::unique_ptr<CFurlinItem> ItemFromClipboard() {
    const QMimeData* data = ClipboardData();
    if (!data || !data->hasFormat(Format(kItemClipboardFormat)))
        return nullptr;
    const QByteArray block = data->data(Format(kItemClipboardFormat));
    return ItemOfBytes(std::string_view(block.constData(), std::size_t(block.size())));
}

std::vector<std::unique_ptr<CFurlinItem>> ItemsFromClipboard() {
    std::vector<std::unique_ptr<CFurlinItem>> items;
    const QMimeData* data = ClipboardData();
    if (!data || !data->hasFormat(Format(kItemListClipboardFormat))) {
        if (auto item = ItemFromClipboard())
            items.push_back(std::move(item));
        return items;
    }
    for (const std::string& block : ItemListBlocks(data->data(Format(kItemListClipboardFormat)))) {
        auto item = ItemOfBytes(block);
        if (!item)
            return {};
        items.push_back(std::move(item));
    }
    return items;
}

QByteArray ItemListBytes(const std::vector<std::string>& blocks) {
    QByteArray bytes;
    for (const std::string& block : blocks) {
        bytes += QByteArray::number(qsizetype(block.size()));
        bytes += ':';
        bytes += QByteArray(block.data(), qsizetype(block.size()));
    }
    return bytes;
}

// Any bytes may arrive from another program: a length that is no number or runs past the end
// refuses the whole list.
std::vector<std::string> ItemListBlocks(const QByteArray& bytes) {
    std::vector<std::string> blocks;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype colon = bytes.indexOf(':', at);
        bool ok = false;
        const qlonglong length =
            colon > at && colon - at <= 18 ? bytes.mid(at, colon - at).toLongLong(&ok) : -1;
        if (!ok || length < 0 || length > bytes.size() - colon - 1)
            return {};
        blocks.emplace_back(bytes.constData() + colon + 1, std::size_t(length));
        at = colon + 1 + length;
    }
    return blocks;
}

QString ClipboardText() {
    const QMimeData* data = ClipboardData();
    return data ? data->text() : QString();
}
