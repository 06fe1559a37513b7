#include "CPropertySheet.h"

#include "CDlgItem.h"
#include "CDlgItemState.h"
#include "CDlgMenuStyle.h"

CMenuPropertySheet::CMenuPropertySheet(CFoldline* component, QWidget* parent)
    : CPropertySheet(component, parent) {
    AddPage(new CDlgItem(component));
    AddPage(new CDlgMenuStyle(component));
    AddPage(new CDlgItemNormal(component));
    AddPage(new CDlgItemMouseOver(component));
    AddPage(new CDlgItemClick(component));
}
