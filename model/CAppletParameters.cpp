#include "CAppletParameters.h"

#include "Encoders.h"
#include "Records.h"

#include <utility>

const CRuntimeClass CAppletParameters::classRecord = {
    "CAppletParameters", sizeof(CAppletParameters), 1, &CAppletParameters::CreateObject};

CObject* CAppletParameters::CreateObject() {
    return new CAppletParameters();
}

namespace {

const char* const kTopLevelName = "top-level Foldline";

std::string& ComponentFolderStorage() {
    static std::string folder;
    return folder;
}

// Visits every item of `menu`, and with `recursive` every item below it, without recursion.
template <typename Visit> void ForEachItem(CFurlin* menu, bool recursive, Visit visit) {
    std::vector<CFurlin*> pending{menu};
    while (!pending.empty()) {
        CFurlin* current = pending.back();
        pending.pop_back();
        for (const auto& item : current->Items()) {
            visit(*item);
            if (recursive)
                pending.push_back(item->GetSubMenu());
        }
    }
}

} // namespace

CAppletParameters::CAppletParameters() : LocalPath(ComponentFolder() + "/") {}

CAppletParameters::~CAppletParameters() = default;

void CAppletParameters::SetComponentFolder(const std::string& folder) {
    ComponentFolderStorage() = folder;
}

const std::string& CAppletParameters::ComponentFolder() {
    return ComponentFolderStorage();
}

void CAppletParameters::Reset() {
    const CAppletParameters defaults;
    foldline::CopyFields(*this, defaults, foldline::kAppletFields);
    m_menus.clear();
}

void CAppletParameters::Assign(const CAppletParameters& other) {
    if (&other == this)
        return;
    std::vector<std::unique_ptr<CFurlin>> copies;
    copies.reserve(other.m_menus.size());
    for (const auto& menu : other.m_menus)
        copies.push_back(std::make_unique<CFurlin>(*menu));
    foldline::CopyFields(*this, other, foldline::kAppletFields);
    m_menus = std::move(copies);
}

CFurlin* CAppletParameters::InsertNewMenu() {
    auto menu = std::make_unique<CFurlin>(kTopLevelName);
    if (const CFurlin* model = FindMenuAtDepth(0))
        menu->CopyStyle(*model);
    menu->Name = kTopLevelName;
    CFurlin* raw = menu.get();
    m_menus.insert(m_menus.begin(), std::move(menu));
    return raw;
}

bool CAppletParameters::AddMenu(std::unique_ptr<CFurlin> menu, bool atFront) {
    if (!menu)
        return false;
    menu->Name = kTopLevelName;
    if (atFront)
        m_menus.insert(m_menus.begin(), std::move(menu));
    else
        m_menus.push_back(std::move(menu));
    return true;
}

bool CAppletParameters::AddMenuCopy(const CFurlin* menu) {
    if (menu == nullptr)
        return false;
    return AddMenu(std::make_unique<CFurlin>(*menu), true);
}

int CAppletParameters::IndexOfMenu(const CFurlin* menu) const {
    if (menu == nullptr)
        return -1;
    for (std::size_t i = 0; i < m_menus.size(); ++i)
        if (m_menus[i].get() == menu)
            return static_cast<int>(i);
    return -1;
}

bool CAppletParameters::DeleteMenu(const CFurlin* menu) {
    const int index = IndexOfMenu(menu);
    if (index < 0)
        return false;
    m_menus.erase(m_menus.begin() + index);
    return true;
}

bool CAppletParameters::MoveMenuUp(const CFurlin* menu) {
    const int index = IndexOfMenu(menu);
    if (index < 1)
        return false;
    std::swap(m_menus[static_cast<std::size_t>(index)],
              m_menus[static_cast<std::size_t>(index - 1)]);
    return true;
}

bool CAppletParameters::MoveMenuDown(const CFurlin* menu) {
    const int index = IndexOfMenu(menu);
    if (index < 0 || index + 1 >= static_cast<int>(m_menus.size()))
        return false;
    std::swap(m_menus[static_cast<std::size_t>(index)],
              m_menus[static_cast<std::size_t>(index + 1)]);
    return true;
}

CFurlin* CAppletParameters::FindParentMenu(CFurlin* root, const CFurlinItem* item) {
    if (root == nullptr || item == nullptr)
        return nullptr;
    // Pre-order over items: an item is compared before the sub-menu below it is searched.
    struct Frame {
        CFurlin* menu;
        std::size_t next;
    };
    std::vector<Frame> stack{{root, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.menu->Items().size()) {
            stack.pop_back();
            continue;
        }
        CFurlinItem* candidate = top.menu->Items()[top.next++].get();
        if (candidate == item)
            return top.menu;
        stack.push_back({candidate->GetSubMenu(), 0});
    }
    return nullptr;
}

CFurlin* CAppletParameters::FindMenuAtDepth(int depth) const {
    if (depth < 0)
        return nullptr;
    struct Frame {
        CFurlin* menu;
        int depth;
    };
    std::vector<Frame> pending;
    for (auto it = m_menus.rbegin(); it != m_menus.rend(); ++it)
        pending.push_back({it->get(), 0});
    while (!pending.empty()) {
        const Frame frame = pending.back();
        pending.pop_back();
        if (frame.menu->Items().empty())
            continue;
        if (frame.depth == depth)
            return frame.menu;
        const auto& items = frame.menu->Items();
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            pending.push_back({(*it)->GetSubMenu(), frame.depth + 1});
    }
    return nullptr;
}

void CAppletParameters::ApplyImages(CFurlin* menu, const std::string& normal,
                                    const std::string& normalWeb, const std::string& over,
                                    const std::string& overWeb, const std::string& click,
                                    const std::string& clickWeb, bool recursive) {
    if (menu == nullptr)
        return;
    ForEachItem(menu, recursive, [&](CFurlinItem& item) {
        item.NormalImage = normal;
        item.NormalImageWebPath = normalWeb;
        item.OverImage = over;
        item.OverImageWebPath = overWeb;
        item.ClickImage = click;
        item.ClickImageWebPath = clickWeb;
    });
}

void CAppletParameters::ApplyAudio(CFurlin* menu, const std::string& over,
                                   const std::string& overWeb, const std::string& click,
                                   const std::string& clickWeb, bool recursive) {
    if (menu == nullptr)
        return;
    ForEachItem(menu, recursive, [&](CFurlinItem& item) {
        item.OverAudio = over;
        item.OverAudioWebPath = overWeb;
        item.ClickAudio = click;
        item.ClickAudioWebPath = clickWeb;
    });
}

void CAppletParameters::Serialize(CArchive&) {}

// ---- the encoders (Encoders.h) ------------------------------------------------------------------

std::string CAppletParameters::ColorToHex(COLORREF color) {
    return encoders::ColorToHex(color);
}

const char* CAppletParameters::AlignWord(int align) {
    return encoders::AlignWord(align);
}

std::string CAppletParameters::PreviewFolder(const CTesselFile& document) {
    return encoders::PreviewFolder(document);
}

std::vector<AppletParam> CAppletParameters::BuildAppletParams(int mode,
                                                              const std::string& previewFolder) {
    return encoders::BuildAppletParams(*this, mode, previewFolder);
}

std::string CAppletParameters::GetAppletHtml(CTesselFile& document, int mode) {
    return encoders::GetAppletHtml(*this, document, mode);
}

std::uint16_t CAppletParameters::BuildResourceList(CTesselFile& document) {
    return encoders::BuildResourceList(*this, document);
}

void CAppletParameters::WriteParameters(CTesselFile& document) {
    encoders::WriteParameters(*this, document);
}

bool CAppletParameters::ReadParameters(CTesselFile& document, const std::string& folder) {
    return encoders::ReadParameters(*this, document, folder);
}
