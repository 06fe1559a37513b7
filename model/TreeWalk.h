// The filters of the depth-first walk that every encoder shares. Not part of the public model
// interface.
#pragma once

#include "CFurlin.h"

namespace foldline {

bool AcceptsMenu(const CFurlin& menu, bool visibleOnly);
inline bool AcceptsItem(const CFurlinItem& item, bool visibleOnly) {
    return !visibleOnly || item.Visible != 0;
}

} // namespace foldline
