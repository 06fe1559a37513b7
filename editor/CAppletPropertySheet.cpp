#include "CPropertySheet.h"

#include "CDlgAppletParam.h"
#include "CDlgAppletStyle.h"

CAppletPropertySheet::CAppletPropertySheet(CEditSession* session, QWidget* parent)
    : CPropertySheet(session, parent) {
    AddPage(new CDlgAppletParam(session));
    AddPage(new CDlgAppletStyle(session));
}
