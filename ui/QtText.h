// The one bridge between the model's UTF-8 texts and Qt's.
#pragma once

#include <QString>

#include <string>

inline QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string FromQt(const QString& text) {
    return text.toStdString();
}
