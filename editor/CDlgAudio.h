// "Audio": the mouse-over and click clips of an item, applied to one item, its menu or the
// items of the top-level menus.
#pragma once

#include "CDlgStateFiles.h"

class CAppletParameters;
class CFurlinItem;

class CDlgAudio : public CDlgStateFiles {
    Q_OBJECT
public:
    enum { kOver = 0, kClick = 1 };

    explicit CDlgAudio(QWidget* parent = nullptr);

    void Preset(const CFurlinItem& item);
    // "All the Items" reaches only the items directly in the top-level menus; deeper items
    // keep their clips.
    void Apply(CAppletParameters& model, CFurlinItem& item) const;
};
