// Reading the translation catalogues, and a made-up language built from the template for tests:
// every text shown in it is the English one in guillemets, so a test sees at once whether a text
// went through the translation and whether it is still the English source inside.
#pragma once

#include <QString>

#include <set>
#include <tuple>

struct CatalogueEntry {
    QString context;
    QString source;
    QString comment;
    bool operator==(const CatalogueEntry& other) const = default;
    bool operator<(const CatalogueEntry& other) const {
        return std::tie(context, source, comment) <
               std::tie(other.context, other.source, other.comment);
    }
};

// The entries of a .ts file; false, with the reason, when it cannot be read.
bool ReadCatalogue(const QString& path, std::set<CatalogueEntry>& entries, QString& reason);

// The made-up translation of a text.
QString Guillemets(const QString& text);

// Writes the template's every text, translated by Guillemets, for `language` into
// `folder`/foldline_<language>.qm (through a .ts beside it and lrelease); false, with the reason,
// when that fails.
bool BuildGuillemetCatalogue(const QString& folder, const QString& language, QString& reason);
