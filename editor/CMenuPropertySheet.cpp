#include "CPropertySheet.h"

CMenuPropertySheet::CMenuPropertySheet(CFoldline* component, QWidget* parent)
    : CPropertySheet(component, parent) {}
