#include "CFurlin.h"

#include "Records.h"

#include <utility>

const CRuntimeClass CFurlin::classRecord = {"CFurlin", sizeof(CFurlin), 1, &CFurlin::CreateObject};

CObject* CFurlin::CreateObject() {
    return new CFurlin("Menu");
}
CObject* CFurlinItem::CreateObject() {
    return new CFurlinItem();
}

namespace {

using foldline::FieldKind;

constexpr const char kItemClassName[] = "CFurlinItem";

void CopyItemFields(CFurlinItem& to, const CFurlinItem& from) {
    foldline::CopyFields(to, from, foldline::kItemFields);
}

// Copies the items below `from` into the empty menu `to` level by level, so deep trees do not
// recurse.
void CopyItemsDeep(CFurlin& to, const CFurlin& from) {
    std::vector<std::pair<CFurlin*, const CFurlin*>> pending{{&to, &from}};
    while (!pending.empty()) {
        auto [dst, src] = pending.back();
        pending.pop_back();
        for (const auto& srcItem : src->Items()) {
            auto item = std::make_unique<CFurlinItem>();
            CopyItemFields(*item, *srcItem);
            CFurlin* dstSub = item->GetSubMenu();
            const CFurlin* srcSub = srcItem->GetSubMenu();
            foldline::CopyFields(*dstSub, *srcSub, foldline::kMenuFields);
            dst->AddItem(std::move(item), false);
            pending.emplace_back(dstSub, srcSub);
        }
    }
}

// Byte form: every row of a record in table order, a look as its own record. Writing and reading
// the tree keep their own stack of open menus instead of recursing.

template <typename R, std::size_t N>
void WriteRecord(CArchive& ar, const R& record, const std::array<foldline::Field<R>, N>& fields) {
    for (const foldline::Field<R>& f : fields) {
        switch (f.kind) {
        case FieldKind::Text:
        case FieldKind::File:
        case FieldKind::WebFolder:
            ar.WriteText(foldline::TextOf(record, f));
            break;
        case FieldKind::Number:
            ar.WriteInt(foldline::NumberOf(record, f));
            break;
        case FieldKind::Colour:
            ar.WriteInt(static_cast<std::int32_t>(foldline::ColourOf(record, f)));
            break;
        case FieldKind::Look:
            WriteRecord(ar, foldline::LookOf(record, f), foldline::kLookFields);
            break;
        }
    }
}

template <typename R, std::size_t N>
void ReadRecord(CArchive& ar, R& record, const std::array<foldline::Field<R>, N>& fields) {
    for (const foldline::Field<R>& f : fields) {
        switch (f.kind) {
        case FieldKind::Text:
        case FieldKind::File:
        case FieldKind::WebFolder:
            foldline::TextOf(record, f) = ar.ReadText();
            break;
        case FieldKind::Number:
            foldline::NumberOf(record, f) = ar.ReadInt();
            break;
        case FieldKind::Colour:
            foldline::ColourOf(record, f) = static_cast<COLORREF>(ar.ReadInt());
            break;
        case FieldKind::Look:
            ReadRecord(ar, foldline::LookOf(record, f), foldline::kLookFields);
            break;
        }
    }
}

// The fewest bytes a record can take: every text empty.
template <typename R, std::size_t N>
constexpr std::size_t MinRecordBytes(const std::array<foldline::Field<R>, N>& fields) {
    std::size_t bytes = 0;
    for (const foldline::Field<R>& f : fields)
        bytes += f.kind == FieldKind::Look ? MinRecordBytes(foldline::kLookFields) : 4;
    return bytes;
}

// The smallest stored item: class tag and schema, its sub-menu's head and item count, then its
// own fields.
constexpr std::size_t kMinItemBytes = (4 + sizeof kItemClassName - 1) + 4 +
                                      MinRecordBytes(foldline::kMenuFields) + 4 +
                                      MinRecordBytes(foldline::kItemFields);

void WriteMenuHead(CArchive& ar, const CFurlin& m) {
    WriteRecord(ar, m, foldline::kMenuFields);
    ar.WriteInt(static_cast<std::int32_t>(m.Items().size()));
}

// Returns the stored item count, or -1 when the head is damaged or the count cannot be backed by
// the bytes left.
std::int32_t ReadMenuHead(CArchive& ar, CFurlin& m) {
    ReadRecord(ar, m, foldline::kMenuFields);
    const std::int32_t count = ar.ReadInt();
    if (ar.Failed() || count < 0 ||
        static_cast<std::size_t>(count) > ar.Remaining() / kMinItemBytes) {
        ar.Fail();
        return -1;
    }
    return count;
}

void WriteItemTail(CArchive& ar, const CFurlinItem& i) {
    WriteRecord(ar, i, foldline::kItemFields);
}

void ReadItemTail(CArchive& ar, CFurlinItem& i) {
    ReadRecord(ar, i, foldline::kItemFields);
}

struct WriteFrame {
    const CFurlin* menu;
    std::size_t next;
    const CFurlinItem* owner; // the item whose sub-menu this is; its texts follow the sub-menu
};

void WriteMenuTree(CArchive& ar, const CFurlin& root) {
    WriteMenuHead(ar, root);
    std::vector<WriteFrame> stack{{&root, 0, nullptr}};
    while (!stack.empty()) {
        WriteFrame& top = stack.back();
        if (top.next < top.menu->Items().size()) {
            const CFurlinItem* item = top.menu->Items()[top.next++].get();
            ar.WriteText(CFurlinItem::classRecord.className);
            ar.WriteInt(static_cast<std::int32_t>(CFurlinItem::classRecord.schema));
            WriteMenuHead(ar, *item->GetSubMenu());
            stack.push_back({item->GetSubMenu(), 0, item});
        } else {
            const CFurlinItem* owner = top.owner;
            stack.pop_back();
            if (owner != nullptr)
                WriteItemTail(ar, *owner);
        }
    }
}

struct ReadFrame {
    CFurlin* menu;
    std::int32_t remaining;
    CFurlinItem* owner;
};

// Reads a menu form into the fresh menu `root`. On failure the archive is marked failed and
// `root` holds a partial tree the caller discards.
bool ReadMenuTree(CArchive& ar, CFurlin& root) {
    if (!ar.EnterLevel())
        return false;
    const std::int32_t rootCount = ReadMenuHead(ar, root);
    if (rootCount < 0)
        return false;
    std::vector<ReadFrame> stack{{&root, rootCount, nullptr}};
    while (!stack.empty()) {
        if (ar.Failed())
            return false;
        ReadFrame& top = stack.back();
        if (top.remaining > 0) {
            --top.remaining;
            if (!ar.ReadClassTag(CFurlinItem::classRecord) || !ar.EnterLevel())
                return false;
            std::unique_ptr<CFurlinItem> item(
                static_cast<CFurlinItem*>(CFurlinItem::classRecord.createObject()));
            CFurlinItem* raw = item.get();
            top.menu->AddItem(std::move(item), false);
            const std::int32_t count = ReadMenuHead(ar, *raw->GetSubMenu());
            if (count < 0)
                return false;
            stack.push_back({raw->GetSubMenu(), count, raw});
        } else {
            CFurlinItem* owner = top.owner;
            stack.pop_back();
            ar.LeaveLevel();
            if (owner != nullptr)
                ReadItemTail(ar, *owner);
        }
    }
    return !ar.Failed();
}

} // namespace

const CRuntimeClass CFurlinItem::classRecord = {kItemClassName, sizeof(CFurlinItem), 1,
                                                &CFurlinItem::CreateObject};

// ---------------------------------------------------------------------------------------------
// CFurlin

CFurlin::CFurlin(std::string name) : Name(std::move(name)) {}

CFurlin::CFurlin(const CFurlin& other) : CObject() {
    foldline::CopyFields(*this, other, foldline::kMenuFields);
    CopyItemsDeep(*this, other);
}

CFurlin::~CFurlin() {
    // Unlinks the sub-trees into one flat list first, so no destructor runs deeper than one level.
    std::vector<std::unique_ptr<CFurlinItem>> pending = std::move(m_items);
    while (!pending.empty()) {
        std::unique_ptr<CFurlinItem> item = std::move(pending.back());
        pending.pop_back();
        if (CFurlin* sub = item->GetSubMenu()) {
            for (auto& child : sub->m_items)
                pending.push_back(std::move(child));
            sub->m_items.clear();
        }
    }
}

void CFurlin::CopyStyle(const CFurlin& other) {
    foldline::CopyFields(*this, other, foldline::kMenuFields,
                         [](const foldline::Field<CFurlin>& f) { return !f.visibility; });
}

int CFurlin::GetItemCount(bool all) const {
    if (all)
        return static_cast<int>(m_items.size());
    int visible = 0;
    for (const auto& item : m_items)
        if (item->Visible != 0)
            ++visible;
    return visible;
}

CFurlinItem* CFurlin::GetItem(int index) const {
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return nullptr;
    return m_items[static_cast<std::size_t>(index)].get();
}

CFurlinItem* CFurlin::InsertNewItem() {
    auto item = std::make_unique<CFurlinItem>();
    CFurlinItem* raw = item.get();
    m_items.insert(m_items.begin(), std::move(item));
    return raw;
}

bool CFurlin::AddItem(std::unique_ptr<CFurlinItem> item, bool atFront) {
    if (!item)
        return false;
    if (atFront)
        m_items.insert(m_items.begin(), std::move(item));
    else
        m_items.push_back(std::move(item));
    return true;
}

CFurlinItem* CFurlin::InsertItemCopy(const CFurlinItem* item) {
    if (item == nullptr)
        return nullptr;
    auto copy = std::make_unique<CFurlinItem>(*item);
    CFurlinItem* raw = copy.get();
    m_items.insert(m_items.begin(), std::move(copy));
    return raw;
}

void CFurlin::DeleteAllItems() {
    m_items.clear();
}

bool CFurlin::DeleteItemAt(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return false;
    m_items.erase(m_items.begin() + index);
    return true;
}

bool CFurlin::DeleteItem(const CFurlinItem* item) {
    return DeleteItemAt(IndexOf(item));
}

bool CFurlin::MoveItemUp(int index) {
    if (index < 1 || index >= static_cast<int>(m_items.size()))
        return false;
    std::swap(m_items[static_cast<std::size_t>(index)],
              m_items[static_cast<std::size_t>(index - 1)]);
    return true;
}

bool CFurlin::MoveItemDown(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size()) - 1)
        return false;
    std::swap(m_items[static_cast<std::size_t>(index)],
              m_items[static_cast<std::size_t>(index + 1)]);
    return true;
}

bool CFurlin::MoveItemUp(const CFurlinItem* item) {
    return MoveItemUp(IndexOf(item));
}

bool CFurlin::MoveItemDown(const CFurlinItem* item) {
    return MoveItemDown(IndexOf(item));
}

int CFurlin::IndexOf(const CFurlinItem* item) const {
    if (item == nullptr)
        return -1;
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

void CFurlin::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        WriteMenuTree(ar, *this);
        return;
    }
    // Read into a scratch menu so a damaged block leaves this one as it was.
    CFurlin loaded("Menu");
    if (!ReadMenuTree(ar, loaded)) {
        ar.Fail();
        return;
    }
    foldline::CopyFields(*this, loaded, foldline::kMenuFields);
    m_items.swap(loaded.m_items);
}

// ---------------------------------------------------------------------------------------------
// CFurlinItem

CFurlinItem::CFurlinItem() : m_subMenu(std::make_unique<CFurlin>("Menu")) {}

CFurlinItem::CFurlinItem(std::unique_ptr<CFurlin> subMenu)
    : m_subMenu(subMenu ? std::move(subMenu) : std::make_unique<CFurlin>("Menu")) {}

CFurlinItem::CFurlinItem(const CFurlinItem& other)
    : CObject(), m_subMenu(std::make_unique<CFurlin>(*other.m_subMenu)) {
    CopyItemFields(*this, other);
}

CFurlinItem::~CFurlinItem() = default;

void CFurlinItem::SetSubMenu(std::unique_ptr<CFurlin> menu) {
    // The sub-menu is never absent; a null argument keeps the current one.
    if (menu)
        m_subMenu = std::move(menu);
}

void CFurlinItem::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        WriteMenuTree(ar, *m_subMenu);
        WriteItemTail(ar, *this);
        return;
    }
    CFurlinItem loaded;
    if (!ReadMenuTree(ar, *loaded.m_subMenu)) {
        ar.Fail();
        return;
    }
    ReadItemTail(ar, loaded);
    if (ar.Failed())
        return;
    CopyItemFields(*this, loaded);
    m_subMenu = std::move(loaded.m_subMenu);
}

std::string CFurlinItem::ToBytes() const {
    CArchive ar;
    ar.WriteObject(*this);
    return ar.Bytes();
}

bool CFurlinItem::FromBytes(std::string_view bytes) {
    CArchive ar(bytes);
    if (!ar.ReadClassTag(classRecord))
        return false;
    CFurlinItem loaded;
    loaded.Serialize(ar);
    // Trailing bytes mean the block is not what it claims to be.
    if (ar.Failed() || ar.Remaining() != 0)
        return false;
    CopyItemFields(*this, loaded);
    m_subMenu = std::move(loaded.m_subMenu);
    return true;
}
