#include "CFurlin.h"

#include <utility>

const CRuntimeClass CFurlin::classRecord = {"CFurlin", sizeof(CFurlin), 1, &CFurlin::CreateObject};
const CRuntimeClass CFurlinItem::classRecord = {"CFurlinItem", sizeof(CFurlinItem), 1,
                                                &CFurlinItem::CreateObject};

CObject* CFurlin::CreateObject() {
    return new CFurlin("Menu");
}
CObject* CFurlinItem::CreateObject() {
    return new CFurlinItem();
}

namespace {

void CopyItemFields(CFurlinItem& to, const CFurlinItem& from) {
    to.Label = from.Label;
    to.Description = from.Description;
    to.NormalImage = from.NormalImage;
    to.NormalImageWebPath = from.NormalImageWebPath;
    to.OverImage = from.OverImage;
    to.OverImageWebPath = from.OverImageWebPath;
    to.ClickImage = from.ClickImage;
    to.ClickImageWebPath = from.ClickImageWebPath;
    to.OverAudio = from.OverAudio;
    to.OverAudioWebPath = from.OverAudioWebPath;
    to.ClickAudio = from.ClickAudio;
    to.ClickAudioWebPath = from.ClickAudioWebPath;
    to.TargetFrame = from.TargetFrame;
    to.Link = from.Link;
    to.Visible = from.Visible;
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
            dstSub->CopyStyle(*srcSub);
            dstSub->Visible = srcSub->Visible;
            dst->AddItem(std::move(item), false);
            pending.emplace_back(dstSub, srcSub);
        }
    }
}

// Byte form. Writing and reading keep their own stack of open menus instead of recursing.

void WriteStyle(CArchive& ar, const StateStyle& s) {
    ar.WriteInt(static_cast<std::int32_t>(s.BackColor));
    ar.WriteInt(static_cast<std::int32_t>(s.FontColor));
    for (int v : {s.Border, s.BackKind, s.GradientDir, s.Effect, s.FontName, s.FontSize,
                  s.FontStyle, s.TextAlign, s.TextOffset, s.ImageAlign, s.ImageOffset})
        ar.WriteInt(v);
    ar.WriteText(s.Extra);
}

void ReadStyle(CArchive& ar, StateStyle& s) {
    s.BackColor = static_cast<COLORREF>(ar.ReadInt());
    s.FontColor = static_cast<COLORREF>(ar.ReadInt());
    for (int* v : {&s.Border, &s.BackKind, &s.GradientDir, &s.Effect, &s.FontName, &s.FontSize,
                   &s.FontStyle, &s.TextAlign, &s.TextOffset, &s.ImageAlign, &s.ImageOffset})
        *v = ar.ReadInt();
    s.Extra = ar.ReadText();
}

void WriteMenuHead(CArchive& ar, const CFurlin& m) {
    ar.WriteText(m.Name);
    ar.WriteInt(static_cast<std::int32_t>(m.BackColor));
    for (int v : {m.BackStyle, m.Reserved1, m.Reserved2, m.Indent, m.TopOffset, m.ItemWidth,
                  m.ItemHeight, m.ItemGap, m.ItemBorder})
        ar.WriteInt(v);
    WriteStyle(ar, m.Normal);
    WriteStyle(ar, m.Over);
    WriteStyle(ar, m.Click);
    ar.WriteInt(m.Visible);
    ar.WriteInt(static_cast<std::int32_t>(m.Items().size()));
}

// The smallest stored item, all texts empty: class tag and schema, sub-menu head (name, colour,
// nine integers, three styles, visibility, count), then the item's 14 texts and visibility.
constexpr std::size_t kMinItemBytes =
    (4 + 11) + 4 + (4 + 4 + 9 * 4 + 3 * (13 * 4 + 4) + 4 + 4) + (14 * 4 + 4);
static_assert(kMinItemBytes == 299);

// Returns the stored item count, or -1 when the head is damaged or the count cannot be backed by
// the bytes left.
std::int32_t ReadMenuHead(CArchive& ar, CFurlin& m) {
    m.Name = ar.ReadText();
    m.BackColor = static_cast<COLORREF>(ar.ReadInt());
    for (int* v : {&m.BackStyle, &m.Reserved1, &m.Reserved2, &m.Indent, &m.TopOffset, &m.ItemWidth,
                   &m.ItemHeight, &m.ItemGap, &m.ItemBorder})
        *v = ar.ReadInt();
    ReadStyle(ar, m.Normal);
    ReadStyle(ar, m.Over);
    ReadStyle(ar, m.Click);
    m.Visible = ar.ReadInt();
    const std::int32_t count = ar.ReadInt();
    if (ar.Failed() || count < 0 ||
        static_cast<std::size_t>(count) > ar.Remaining() / kMinItemBytes) {
        ar.Fail();
        return -1;
    }
    return count;
}

void WriteItemTail(CArchive& ar, const CFurlinItem& i) {
    for (const std::string* t :
         {&i.Label, &i.Description, &i.NormalImage, &i.NormalImageWebPath, &i.OverImage,
          &i.OverImageWebPath, &i.ClickImage, &i.ClickImageWebPath, &i.OverAudio,
          &i.OverAudioWebPath, &i.ClickAudio, &i.ClickAudioWebPath, &i.TargetFrame, &i.Link})
        ar.WriteText(*t);
    ar.WriteInt(i.Visible);
}

void ReadItemTail(CArchive& ar, CFurlinItem& i) {
    for (std::string* t :
         {&i.Label, &i.Description, &i.NormalImage, &i.NormalImageWebPath, &i.OverImage,
          &i.OverImageWebPath, &i.ClickImage, &i.ClickImageWebPath, &i.OverAudio,
          &i.OverAudioWebPath, &i.ClickAudio, &i.ClickAudioWebPath, &i.TargetFrame, &i.Link})
        *t = ar.ReadText();
    i.Visible = ar.ReadInt();
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

// ---------------------------------------------------------------------------------------------
// CFurlin

CFurlin::CFurlin(std::string name) : Name(std::move(name)) {}

CFurlin::CFurlin(const CFurlin& other) : CObject() {
    CopyStyle(other);
    Visible = other.Visible;
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
    Name = other.Name;
    BackColor = other.BackColor;
    BackStyle = other.BackStyle;
    Reserved1 = other.Reserved1;
    Reserved2 = other.Reserved2;
    Indent = other.Indent;
    TopOffset = other.TopOffset;
    ItemWidth = other.ItemWidth;
    ItemHeight = other.ItemHeight;
    ItemGap = other.ItemGap;
    ItemBorder = other.ItemBorder;
    Normal = other.Normal;
    Over = other.Over;
    Click = other.Click;
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
    CopyStyle(loaded);
    Visible = loaded.Visible;
    m_items.swap(loaded.m_items);
}

// ---------------------------------------------------------------------------------------------
// CFurlinItem

CFurlinItem::CFurlinItem() : m_subMenu(std::make_unique<CFurlin>("Menu")) {}

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
