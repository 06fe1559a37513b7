// Which nodes of the configuration dialog's tree were open when it last closed, kept by whoever
// owns the edit sessions (the component, for one widget) so the next dialog opens the same way.
#pragma once

#include "MenuTreeEdits.h"

#include <vector>

struct CExpansionMemory {
    // False until a dialog has closed: a widget not edited yet opens its first two levels.
    bool known = false;
    // The open nodes by their place in the tree, in tree order.
    std::vector<TreePath> expanded;
};
