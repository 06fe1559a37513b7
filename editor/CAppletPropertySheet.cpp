#include "CPropertySheet.h"

#include "CDlgAppletParam.h"
#include "CDlgAppletStyle.h"

CAppletPropertySheet::CAppletPropertySheet(CFoldline* component, QWidget* parent)
    : CPropertySheet(component, parent) {
    AddPage(new CDlgAppletParam(component));
    AddPage(new CDlgAppletStyle(component));
}
