// The menu tree: menus (CFurlin) own items (CFurlinItem), every item owns its sub-menu.
#pragma once

#include "Archive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using COLORREF = std::uint32_t; // 0x00BBGGRR, red in the low byte

// The look of a menu's items in one state.
struct StateStyle {
    COLORREF BackColor = 0x000000;
    COLORREF FontColor = 0xFFFFFF;
    int Border = 0;      // 0 plain, 1 raised, 2 sunken
    int BackKind = 1;    // 0 transparent, 1 filled, 2..5 horizontal, 6..9 vertical gradients
    int GradientDir = 1; // 0 single direction, 1 bi-direction
    int Effect = 0;      // normal, outline, sunken, bulge, with shadow
    int FontName = 0;    // TimesRoman, Helvetica, Courier
    int FontSize = 14;
    int FontStyle = 0; // plain, bold, italic
    int TextAlign = 0; // left, center, right
    int TextOffset = 0;
    int ImageAlign = 0;
    int ImageOffset = 0;
    std::string Extra; // never edited nor encoded; travels with the style

    bool operator==(const StateStyle&) const = default;
};

class CFurlinItem;

class CFurlin : public CObject {
public:
    DECLARE_SERIAL(CFurlin)

    explicit CFurlin(std::string name = "Menu");
    CFurlin(const CFurlin& other); // deep
    CFurlin& operator=(const CFurlin&) = delete;
    ~CFurlin() override;

    void CopyStyle(const CFurlin& other);

    int GetItemCount(bool all) const;
    CFurlinItem* GetItem(int index) const;
    const std::vector<std::unique_ptr<CFurlinItem>>& Items() const { return m_items; }

    CFurlinItem* InsertNewItem();
    bool AddItem(std::unique_ptr<CFurlinItem> item, bool atFront);
    CFurlinItem* InsertItemCopy(const CFurlinItem* item);
    void DeleteAllItems();
    bool DeleteItemAt(int index);
    bool DeleteItem(const CFurlinItem* item);
    bool MoveItemUp(int index);
    bool MoveItemDown(int index);
    bool MoveItemUp(const CFurlinItem* item);
    bool MoveItemDown(const CFurlinItem* item);
    int IndexOf(const CFurlinItem* item) const; // -1 when absent

    void Serialize(CArchive& ar) override;

    std::string Name;
    COLORREF BackColor = 0;
    int BackStyle = 0; // 0..3
    int Reserved1 = 0;
    int Reserved2 = 0;
    int Indent = 40;
    int TopOffset = 15;
    int ItemWidth = 80;
    int ItemHeight = 20;
    int ItemGap = 5;
    int ItemBorder = 0;
    StateStyle Normal;
    StateStyle Over;
    StateStyle Click;
    int Visible = 1;
    int Number = -1; // working number of one encoding pass

private:
    std::vector<std::unique_ptr<CFurlinItem>> m_items;
};

class CFurlinItem : public CObject {
public:
    DECLARE_SERIAL(CFurlinItem)

    CFurlinItem();
    // An item owning `subMenu` (a new one when it is null).
    explicit CFurlinItem(std::unique_ptr<CFurlin> subMenu);
    CFurlinItem(const CFurlinItem& other); // deep: copies the sub-tree
    CFurlinItem& operator=(const CFurlinItem&) = delete;
    ~CFurlinItem() override;

    CFurlin* GetSubMenu() const { return m_subMenu.get(); }
    void SetSubMenu(std::unique_ptr<CFurlin> menu);

    void Serialize(CArchive& ar) override;

    // The byte form of this item with its sub-tree (the clipboard block).
    std::string ToBytes() const;
    // Replaces this item's texts, flag and sub-tree from a byte block. A damaged, truncated or
    // lying block (or one nested deeper than kMaxDepth) returns false and leaves the item
    // unchanged.
    bool FromBytes(std::string_view bytes);

    std::string Label = "item";
    std::string Description;
    std::string NormalImage;
    std::string NormalImageWebPath;
    std::string OverImage;
    std::string OverImageWebPath;
    std::string ClickImage;
    std::string ClickImageWebPath;
    std::string OverAudio;
    std::string OverAudioWebPath;
    std::string ClickAudio;
    std::string ClickAudioWebPath;
    std::string TargetFrame;
    std::string Link;
    int Visible = 1;

private:
    std::unique_ptr<CFurlin> m_subMenu;
};

// The deepest tree (in menu levels) that readers accept and every walk handles.
constexpr int kMaxDepth = 1000;
