#include "CPropertySheet.h"

#include "CDlgItem.h"
#include "CDlgItemState.h"
#include "CDlgMenuStyle.h"

CMenuPropertySheet::CMenuPropertySheet(CEditSession* session, QWidget* parent)
    : CPropertySheet(session, parent) {
    AddPage(new CDlgItem(session));
    AddPage(new CDlgMenuStyle(session));
    AddPage(new CDlgItemNormal(session));
    AddPage(new CDlgItemMouseOver(session));
    AddPage(new CDlgItemClick(session));
}
