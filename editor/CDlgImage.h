// "Image": the three state images of an item, applied to one item, its menu or the widget.
#pragma once

#include "CDlgStateFiles.h"

class CAppletParameters;
class CFurlinItem;

class CDlgImage : public CDlgStateFiles {
    Q_OBJECT
public:
    enum { kNormal = 0, kOver = 1, kClick = 2 };

    explicit CDlgImage(QWidget* parent = nullptr);

    // Takes the item's images; the scope becomes "Only This Item".
    void Preset(const CFurlinItem& item);
    // Writes the images by the chosen scope: the item, every item of the menu holding it, or
    // every item of the widget at every depth.
    void Apply(CAppletParameters& model, CFurlinItem& item) const;
};
