#include "CPropertySheet.h"

CAppletPropertySheet::CAppletPropertySheet(CFoldline* component, QWidget* parent)
    : CPropertySheet(component, parent) {}
