#include "Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace ui {
namespace {

// A translator of the catalogue `name` for the locale's languages from `folder`; null when the
// folder holds none of them.
std::unique_ptr<QTranslator> Load(const QLocale& locale, const QString& name,
                                  const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, name, QStringLiteral("_"), folder) || translator->isEmpty())
        return nullptr;
    return translator;
}

} // namespace

QString TranslationsFolder(const QString& folder) {
    return folder + QStringLiteral("/translations");
}

bool CTranslation::Install(const QString& folder, bool withQtTexts, const QLocale& locale) {
    Remove();
    if (QCoreApplication::instance() == nullptr)
        return false;
    // The template catalogue is never compiled, so only a real language matches: English
    // users, and users of a language not shipped, keep the source texts.
    m_own = Load(locale, QString::fromLatin1(kTranslationCatalogue), TranslationsFolder(folder));
    if (m_own == nullptr)
        return false;
    // Qt's texts follow only when ours are translated, so a window never mixes two languages.
    if (withQtTexts)
        m_qt = Load(locale, QStringLiteral("qtbase"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (m_qt != nullptr)
        QCoreApplication::installTranslator(m_qt.get());
    QCoreApplication::installTranslator(m_own.get());
    return true;
}

void CTranslation::Remove() {
    // A translator leaves the application's list when it is destroyed.
    m_own.reset();
    m_qt.reset();
}

} // namespace ui
