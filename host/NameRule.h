// The rule shared by widget and template names: non-empty, ASCII letters and digits only.
#pragma once

#include <QString>

namespace host {

enum class NameCheck { Ok, Empty, InvalidCharacter };

NameCheck CheckName(const QString& name);

inline constexpr const char* kMsgEnterName = "You must enter a name!";
inline constexpr const char* kMsgInvalidWidgetName =
    "The name of widget is not valid.It accept only alphanumeric characters.\nYou have entered an "
    "invalid character, such as '-', '_', ':', ';', '#', (), [], or ?, in the name.\n";
inline constexpr const char* kMsgInvalidTemplateName =
    "The template name of widget is not valid.It accept only alphanumeric characters.\nYou have "
    "entered an invalid character, such as '-', '_', ':', ';', '#', (), [], or ?, in the name.\n";

} // namespace host
