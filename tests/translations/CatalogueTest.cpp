// The committed catalogue holds exactly the texts the sources mark for translation, and every
// language holds the same texts as the template.
#include "Catalogue.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

// What one catalogue holds and the other does not, one text a line.
std::string Difference(const std::set<CatalogueEntry>& of,
                       const std::set<CatalogueEntry>& without) {
    std::set<CatalogueEntry> rest;
    std::set_difference(of.begin(), of.end(), without.begin(), without.end(),
                        std::inserter(rest, rest.begin()));
    std::string lines;
    for (const CatalogueEntry& entry : rest)
        lines += "  " + entry.context.toStdString() + ": " + entry.source.toStdString() + '\n';
    return lines;
}

const QString kTemplate = QStringLiteral(FOLDLINE_SOURCE_DIR "/translations/foldline.ts");

} // namespace

TEST(Catalogue, TemplateHoldsTheTextsTheSourcesMark) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString fresh = temp.filePath(QStringLiteral("fresh.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(FOLDLINE_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("@" FOLDLINE_TRANSLATION_SOURCES), QStringLiteral("-ts"), fresh});
    ASSERT_TRUE(lupdate.waitForFinished(120000)) << lupdate.errorString().toStdString();
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    // lupdate says where a text cannot be read (a tr() it cannot place, say).
    EXPECT_EQ(lupdate.readAllStandardError().toStdString(), "");

    std::set<CatalogueEntry> marked;
    std::set<CatalogueEntry> committed;
    QString reason;
    ASSERT_TRUE(ReadCatalogue(fresh, marked, reason)) << reason.toStdString();
    ASSERT_TRUE(ReadCatalogue(kTemplate, committed, reason)) << reason.toStdString();
    EXPECT_FALSE(marked.empty());
    EXPECT_TRUE(marked == committed)
        << "translations/foldline.ts is not current (building updates it):\nmissing\n"
        << Difference(marked, committed) << "no longer in the sources\n"
        << Difference(committed, marked);
}

TEST(Catalogue, EveryLanguageHoldsTheTemplatesTexts) {
    std::set<CatalogueEntry> texts;
    QString reason;
    ASSERT_TRUE(ReadCatalogue(kTemplate, texts, reason)) << reason.toStdString();
    const QDir folder(QStringLiteral(FOLDLINE_SOURCE_DIR "/translations"));
    for (const QString& name : folder.entryList({QStringLiteral("foldline_*.ts")}, QDir::Files)) {
        std::set<CatalogueEntry> language;
        ASSERT_TRUE(ReadCatalogue(folder.filePath(name), language, reason)) << reason.toStdString();
        EXPECT_TRUE(language == texts) << name.toStdString() << " missing\n"
                                       << Difference(texts, language) << "extra\n"
                                       << Difference(language, texts);
    }
}

// The test language is what the program tests install; it must carry every text, as made up.
TEST(Catalogue, TestLanguageTranslatesEveryText) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    QString reason;
    ASSERT_TRUE(BuildGuillemetCatalogue(temp.path(), QStringLiteral("eo"), reason))
        << reason.toStdString();
    std::set<CatalogueEntry> texts;
    ASSERT_TRUE(ReadCatalogue(kTemplate, texts, reason)) << reason.toStdString();
    QTranslator translator;
    ASSERT_TRUE(translator.load(temp.filePath(QStringLiteral("foldline_eo.qm"))));
    for (const CatalogueEntry& entry : texts) {
        const QByteArray context = entry.context.toUtf8();
        const QByteArray source = entry.source.toUtf8();
        const QByteArray comment = entry.comment.toUtf8();
        EXPECT_EQ(translator.translate(context.constData(), source.constData(),
                                       comment.isEmpty() ? nullptr : comment.constData()),
                  Guillemets(entry.source))
            << entry.context.toStdString() << ": " << entry.source.toStdString();
    }
}
