#include "NameRule.h"

#include <QCoreApplication>

namespace host {

NameCheck CheckName(const QString& name) {
    if (name.isEmpty())
        return NameCheck::Empty;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9');
        if (!ok)
            return NameCheck::InvalidCharacter;
    }
    return NameCheck::Ok;
}

QString NameMessage(const char* message) {
    return QCoreApplication::translate("NameRule", message);
}

} // namespace host
