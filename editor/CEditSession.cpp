#include "CEditSession.h"

#include "CFurlin.h"

#include <vector>

CEditSession::CEditSession(CAppletParameters& model, QObject* parent)
    : QObject(parent), m_model(model) {}

void CEditSession::Bind(CFurlinItem* item, CFurlin* menu) {
    if (item == CurrentItem && menu == CurrentMenu)
        return;
    CurrentItem = item;
    CurrentMenu = menu;
    emit SelectionChanged();
}

bool CEditSession::BindsInside(const CFurlinItem& item) const {
    if (CurrentItem == &item)
        return true;
    std::vector<const CFurlin*> pending{item.GetSubMenu()};
    while (!pending.empty()) {
        const CFurlin* menu = pending.back();
        pending.pop_back();
        if (menu == CurrentMenu)
            return true;
        for (const auto& child : menu->Items()) {
            if (child.get() == CurrentItem)
                return true;
            pending.push_back(child->GetSubMenu());
        }
    }
    return false;
}

void CEditSession::ReleaseInside(const CFurlinItem& item) {
    if (BindsInside(item))
        Unbind();
}
