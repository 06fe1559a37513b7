// The user's language for the texts of the program and the component. Both ship one catalogue,
// "foldline", compiled per language into "foldline_<language>.qm" in a folder "translations"
// beside the executable or the library; each installs it for itself, so the component speaks the
// user's language in any host.
#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

#include <memory>

namespace ui {

inline constexpr const char* kTranslationCatalogue = "foldline";

// The folder that holds the catalogues of a program or component folder.
QString TranslationsFolder(const QString& folder);

// The translators one deliverable installed; destroying it takes them out again.
class CTranslation {
public:
    // Installs the catalogue for the first of the locale's languages that folder's
    // "translations" folder holds, and with it Qt's own texts (standard buttons and choosers)
    // when withQtTexts. False, and nothing installed, when the folder holds none of those
    // languages or there is no application object; the texts then stay English.
    bool Install(const QString& folder, bool withQtTexts, const QLocale& locale = QLocale());
    bool IsInstalled() const { return m_own != nullptr; }
    // Takes the translators out again.
    void Remove();

private:
    std::unique_ptr<QTranslator> m_own;
    std::unique_ptr<QTranslator> m_qt;
};

} // namespace ui
