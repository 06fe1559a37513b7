// "Today's Browsers": the applet's settings that only the markup for today's browsers reads (a
// fixed box, the width below which the menu folds, the direction), as one group of a page.
#pragma once

#include "CAppletParameters.h"
#include "PageBindings.h"

class QBoxLayout;

// Adds the group before the layout's last item (its stretch) and binds its controls, after
// the page's other fields, so a refusal there comes last.
void AddTodaysBrowsersGroup(QBoxLayout* layout, CPageBindings<CAppletParameters>& fields);
