// The rule shared by widget and template names: non-empty, ASCII letters and digits only.
#pragma once

#include <QString>
#include <QtGlobal>

namespace host {

enum class NameCheck { Ok, Empty, InvalidCharacter };

NameCheck CheckName(const QString& name);

// The messages of the rule; NameMessage gives one in the user's language.
inline constexpr const char* kMsgEnterName =
    QT_TRANSLATE_NOOP("NameRule", "You must enter a name!");
inline constexpr const char* kMsgInvalidWidgetName = QT_TRANSLATE_NOOP(
    "NameRule",
    "The name of widget is not valid.It accept only alphanumeric characters.\nYou have entered an "
    "invalid character, such as '-', '_', ':', ';', '#', (), [], or ?, in the name.\n");
inline constexpr const char* kMsgInvalidTemplateName = QT_TRANSLATE_NOOP(
    "NameRule",
    "The template name of widget is not valid.It accept only alphanumeric characters.\nYou have "
    "entered an invalid character, such as '-', '_', ':', ';', '#', (), [], or ?, in the name.\n");

QString NameMessage(const char* message);

} // namespace host
