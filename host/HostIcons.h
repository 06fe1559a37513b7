// The program's icon and toolbar images, drawn at run time so no image files need shipping.
#pragma once

#include <QIcon>

namespace host {

enum class ToolbarImage { New, Open, Save, SaveAsTemplate, Configure, Preview };

QIcon ProgramIcon();
// 16 by 15 pixels.
QIcon ToolbarIcon(ToolbarImage image);

} // namespace host
