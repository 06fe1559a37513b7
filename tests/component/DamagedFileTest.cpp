// Files that end before their parts are complete, or hold lines the reader passes over, are read
// as before and reported as damaged; whole files never are.
#include "CTesselFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kHtmlEnd = "========== HTML Part End ==========";

std::vector<std::string> WholeFiles() {
    std::vector<std::string> paths;
    for (const auto& entry :
         std::filesystem::directory_iterator(FOLDLINE_SOURCE_DIR "/data/templates"))
        paths.push_back(entry.path().string());
    paths.push_back(FOLDLINE_SOURCE_DIR "/tests/e2e/fixtures/three-level.tsl");
    return paths;
}

// A document with something in every part, as a save writes it.
std::string SavedText() {
    CTesselFile file;
    file.SetDescription("Title", "t");
    file.SetDescription("ProgID", "TesselServer.Foldline");
    file.SetParameter("Version", "1.1");
    file.SetParameter("ApStyle", "My Foldline,0,200");
    file.AddResource("furlin.class", "/c/", "");
    file.AddResource("a.gif", "/site", "img/");
    file.AddSegment("cursor", "<p>\r\n</p>\r\n");
    file.AddSegment("style", "<style></style>\r\n");
    return file.ToText();
}

CLoadResult LoadText(const CTempDir& dir, const std::string& text, CTesselFile& file) {
    const std::string path = dir.File("in.tsl");
    CTempDir::Write(path, text);
    return file.LoadFile(path);
}

TEST(DamagedFile, TemplatesFixturesAndSavedFilesAreWhole) {
    CTempDir dir;
    for (const std::string& path : WholeFiles()) {
        CTesselFile file;
        const CLoadResult result = file.LoadFile(path);
        EXPECT_TRUE(result.file.Ok()) << path;
        EXPECT_TRUE(result.Whole()) << path << ": " << result.DescribeDamage();
    }
    CTesselFile file;
    const CLoadResult saved = LoadText(dir, SavedText(), file);
    EXPECT_TRUE(saved.Whole()) << saved.DescribeDamage();
    // A file that lost only its last line end, or has LF line ends, is still whole.
    const std::string text = SavedText();
    EXPECT_TRUE(
        LoadText(dir, text.substr(0, text.rfind(kHtmlEnd) + kHtmlEnd.size()), file).Whole());
    std::string lf = text;
    std::erase(lf, '\r');
    CTesselFile fromLf;
    EXPECT_TRUE(LoadText(dir, lf, fromLf).Whole());
    EXPECT_EQ(fromLf.Segments().size(), 2u);
}

// Cut anywhere before the HTML part's end marker is complete, a file is damaged, and it still
// reads exactly what Load reads.
TEST(DamagedFile, EveryCutBeforeTheLastMarkerIsReported) {
    CTempDir dir;
    const std::string text = SavedText();
    const std::size_t whole = text.rfind(kHtmlEnd) + kHtmlEnd.size();
    for (std::size_t cut = 0; cut < whole; ++cut) {
        CTesselFile damaged;
        const CLoadResult result = LoadText(dir, text.substr(0, cut), damaged);
        ASSERT_TRUE(result.file.Ok());
        ASSERT_FALSE(result.Whole()) << "cut at " << cut;
        CTesselFile plain;
        ASSERT_TRUE(plain.Load(dir.File("in.tsl")));
        ASSERT_EQ(plain.Descriptions().Entries(), damaged.Descriptions().Entries());
        ASSERT_EQ(plain.Parameters().Entries(), damaged.Parameters().Entries());
        ASSERT_EQ(plain.GetResourceCount(), damaged.GetResourceCount());
        ASSERT_EQ(plain.GetSegmentCount(), damaged.GetSegmentCount());
    }
}

TEST(DamagedFile, TheReportNamesWhatIsMissing) {
    CTempDir dir;
    const std::string text = SavedText();
    const auto cutBefore = [&text](const std::string& marker) {
        return text.substr(0, text.find(marker));
    };
    const auto damage = [&dir](const std::string& cut) {
        CTesselFile file;
        return LoadText(dir, cut, file).DescribeDamage();
    };
    EXPECT_EQ(damage(cutBefore("========== Parameter Part End")),
              "the Parameter part has no end marker; the Resource part is missing; "
              "the HTML part is missing");
    EXPECT_EQ(damage(cutBefore("a.gif=")),
              "the Resource part holds 1 of its 2 entries; the HTML part is missing");
    EXPECT_EQ(damage(cutBefore("Segment Position = style")),
              "the HTML part holds 1 of its 2 segments");
    EXPECT_EQ(damage(cutBefore("</p>")), "segment 1 has no end line");
    EXPECT_EQ(damage(cutBefore(kHtmlEnd)), "the HTML part has no end marker");
    EXPECT_EQ(damage(""), "the Description part is missing; the Parameter part is missing; "
                          "the Resource part is missing; the HTML part is missing");
}

TEST(DamagedFile, LinesTheReaderPassesOverAndSwallowedMarkersAreDamage) {
    CTempDir dir;
    std::string text = SavedText();
    // A line without "=" among the descriptions, and one between the parts; a preamble before
    // the first part and blank lines are harmless.
    text.insert(text.find("Title = "), "stray words\r\n\r\n");
    text.insert(text.find("========== Resource Part Begin"), "more stray words\r\n");
    text.insert(0, "a preamble\r\n");
    CTesselFile file;
    EXPECT_EQ(LoadText(dir, text, file).DescribeDamage(), "2 lines could not be read");
    EXPECT_EQ(file.GetDescription("Title"), "t");

    // More entries announced than there are: the End marker is taken as one, as before.
    std::string counted = SavedText();
    counted.replace(counted.find("Resource Number = 2"), 19, "Resource Number = 3");
    CTesselFile swallowed;
    const CLoadResult result = LoadText(dir, counted, swallowed);
    EXPECT_EQ(swallowed.GetResourceCount(), 3);
    EXPECT_EQ(swallowed.GetResourceField(2, ResourceField::LocalPath),
              "========= Resource Part End =========");
    ASSERT_FALSE(result.Whole());
    EXPECT_EQ(result.damage.front(), "the Resource part holds 2 of its 3 entries");
}

TEST(DamagedFile, FilesThatCannotBeOpenedSayWhy) {
    CTempDir dir;
    CTesselFile file;
    const CLoadResult missing = file.LoadFile(dir.File("missing.tsl"));
    EXPECT_EQ(missing.file.failed, FileResult::Stage::Open);
    EXPECT_EQ(missing.file.Describe(), dir.File("missing.tsl") + ": No such file or directory");
    EXPECT_EQ(file.LoadFile(dir.Path()).file.reason, "Is a directory");
}

} // namespace
