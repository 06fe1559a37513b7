#include "Catalogue.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

QString TemplatePath() {
    return QStringLiteral(FOLDLINE_SOURCE_DIR "/translations/foldline.ts");
}

// One <message>'s source and comment; the reader is at its start and ends at its end.
CatalogueEntry ReadMessage(QXmlStreamReader& xml, const QString& context) {
    CatalogueEntry entry{context, {}, {}};
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("source"))
            entry.source = xml.readElementText();
        else if (xml.name() == QLatin1String("comment"))
            entry.comment = xml.readElementText();
        else
            xml.skipCurrentElement();
    }
    return entry;
}

void WriteTranslated(QXmlStreamWriter& out, const std::set<CatalogueEntry>& entries,
                     const QString& language) {
    out.setAutoFormatting(true);
    out.writeStartDocument();
    out.writeDTD(QStringLiteral("<!DOCTYPE TS>"));
    out.writeStartElement(QStringLiteral("TS"));
    out.writeAttribute(QStringLiteral("version"), QStringLiteral("2.1"));
    out.writeAttribute(QStringLiteral("language"), language);
    out.writeAttribute(QStringLiteral("sourcelanguage"), QStringLiteral("en"));
    for (const CatalogueEntry& entry : entries) {
        out.writeStartElement(QStringLiteral("context"));
        out.writeTextElement(QStringLiteral("name"), entry.context);
        out.writeStartElement(QStringLiteral("message"));
        out.writeTextElement(QStringLiteral("source"), entry.source);
        if (!entry.comment.isEmpty())
            out.writeTextElement(QStringLiteral("comment"), entry.comment);
        out.writeTextElement(QStringLiteral("translation"), Guillemets(entry.source));
        out.writeEndElement();
        out.writeEndElement();
    }
    out.writeEndElement();
    out.writeEndDocument();
}

} // namespace

bool ReadCatalogue(const QString& path, std::set<CatalogueEntry>& entries, QString& reason) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            entries.insert(ReadMessage(xml, context));
    }
    if (xml.hasError()) {
        reason = path + QStringLiteral(": ") + xml.errorString();
        return false;
    }
    return true;
}

QString Guillemets(const QString& text) {
    return QStringLiteral("\u00ab") + text + QStringLiteral("\u00bb");
}

bool BuildGuillemetCatalogue(const QString& folder, const QString& language, QString& reason) {
    std::set<CatalogueEntry> entries;
    if (!ReadCatalogue(TemplatePath(), entries, reason))
        return false;
    QDir().mkpath(folder);
    const QString base = folder + QStringLiteral("/foldline_") + language;
    QFile ts(base + QStringLiteral(".ts"));
    if (!ts.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        reason = ts.fileName() + QStringLiteral(": ") + ts.errorString();
        return false;
    }
    QXmlStreamWriter out(&ts);
    WriteTranslated(out, entries, language);
    ts.close();
    QProcess lrelease;
    lrelease.start(QStringLiteral(FOLDLINE_LRELEASE),
                   {QStringLiteral("-silent"), ts.fileName(), QStringLiteral("-qm"),
                    base + QStringLiteral(".qm")});
    if (!lrelease.waitForFinished(60000) || lrelease.exitStatus() != QProcess::NormalExit ||
        lrelease.exitCode() != 0) {
        reason = QStringLiteral("lrelease failed: ") +
                 QString::fromLocal8Bit(lrelease.readAllStandardError()) + lrelease.errorString();
        return false;
    }
    return true;
}
