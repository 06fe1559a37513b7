#include "CTesselFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kEmptyFileTail = "========== Parameter Part Begin ==========\r\n"
                                   "========== Parameter Part End ==========\r\n"
                                   "\r\n"
                                   "========== Resource Part Begin ==========\r\n"
                                   "Resource Number = 0\r\n"
                                   "========== Resource Part End ==========\r\n"
                                   "\r\n"
                                   "========== HTML Part Begin ==========\r\n"
                                   "Segment Number = 0\r\n"
                                   "========== HTML Part End ==========\r\n"
                                   "\r\n";

CTesselFile LoadText(const CTempDir& dir, const std::string& text) {
    const std::string path = dir.File("in.tsl");
    CTempDir::Write(path, text);
    CTesselFile file;
    EXPECT_TRUE(file.Load(path));
    return file;
}

TEST(CTesselMap, IteratesBucketsAscendingNewestFirstWithSignedBytes) {
    CTesselMap map;
    // Buckets: a and r share 12, Title 3, ProgID 4.
    map.Set("a", "1");
    map.Set("ProgID", "2");
    map.Set("r", "3");
    map.Set("Title", "4");
    map.Set("a", "5"); // replaced in place: keeps its position
    using E = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(map.Entries(), (E{{"Title", "4"}, {"ProgID", "2"}, {"r", "3"}, {"a", "5"}}));
    // A byte above 0x7F counts as negative: U+00E9 lands in 9, not 8.
    EXPECT_EQ(CTesselMap::Bucket("\xC3\xA9"), 9u);
    EXPECT_EQ(CTesselMap::Bucket(""), 0u);
    EXPECT_EQ(map.Size(), 4u);
    EXPECT_EQ(*map.Find("a"), "5");
    EXPECT_EQ(map.Find("A"), nullptr);
}

// Large tables grow the map's index many times; order, replacement and lookups must behave as
// the plain bucket lists do.
TEST(CTesselMap, LargeTablesKeepTheOrderOfPlainBucketLists) {
    CTesselMap map;
    std::vector<std::vector<std::pair<std::string, std::string>>> buckets(17);
    const auto set = [&](const std::string& key, const std::string& value) {
        map.Set(key, value);
        auto& bucket = buckets[CTesselMap::Bucket(key)];
        for (auto& entry : bucket)
            if (entry.first == key) {
                entry.second = value;
                return;
            }
        bucket.emplace_back(key, value);
    };
    for (int i = 0; i < 20000; ++i)
        set("I" + std::to_string(i % 997) + "-" + std::to_string(i), "v" + std::to_string(i));
    for (int i = 0; i < 20000; i += 7) // replacements keep their places
        set("I" + std::to_string(i % 997) + "-" + std::to_string(i), "w" + std::to_string(i));
    set("", "empty key");
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& bucket : buckets)
        expected.insert(expected.end(), bucket.rbegin(), bucket.rend());
    EXPECT_EQ(map.Entries(), expected);
    EXPECT_EQ(map.Size(), 20001u);
    ASSERT_NE(map.Find("I7-7"), nullptr);
    EXPECT_EQ(*map.Find("I7-7"), "w7");
    EXPECT_EQ(map.Find("I7-8"), nullptr);
    EXPECT_EQ(*map.Find(""), "empty key");

    map.Clear();
    EXPECT_EQ(map.Size(), 0u);
    EXPECT_EQ(map.Find("I7-7"), nullptr);
    map.Set("I7-7", "again");
    EXPECT_EQ(map.Entries(), (std::vector<std::pair<std::string, std::string>>{{"I7-7", "again"}}));
}

TEST(CTesselFile, WritesTheDocumentedLayoutByteForByte) {
    CTempDir dir;
    CTesselFile file;
    file.GetDescription("Title");
    file.SetDescription("ProgID", "TesselServer.Foldline");
    file.SetDescription("LastUpdateTime", "36487.500000000");
    file.SetDescription("PreviewPath", "");
    file.SetParameter("ApStyle", "x");
    file.SetParameter("Version", "1.1");
    file.SetParameter("Misc", "m");
    file.AddResource("furlin.class", "/opt/c/", "classes/");
    file.AddSegment("cursor", "<p>\r\n</p>\r\n");
    ASSERT_TRUE(file.Save(dir.File("w.tsl")));
    EXPECT_EQ(CTempDir::Read(dir.File("w.tsl")), "========== Description Part Begin ==========\r\n"
                                                 "Title = \r\n"
                                                 "ProgID = TesselServer.Foldline\r\n"
                                                 "LastUpdateTime = 36487.500000000\r\n"
                                                 "PreviewPath = \r\n"
                                                 "========== Description Part End ==========\r\n"
                                                 "\r\n"
                                                 "========== Parameter Part Begin ==========\r\n"
                                                 "Version = 1.1\r\n"
                                                 "Misc = m\r\n"
                                                 "ApStyle = x\r\n"
                                                 "========== Parameter Part End ==========\r\n"
                                                 "\r\n"
                                                 "========== Resource Part Begin ==========\r\n"
                                                 "Resource Number = 1\r\n"
                                                 "furlin.class=/opt/c/=classes/\r\n"
                                                 "========== Resource Part End ==========\r\n"
                                                 "\r\n"
                                                 "========== HTML Part Begin ==========\r\n"
                                                 "Segment Number = 1\r\n"
                                                 "Segment Position = cursor\r\n"
                                                 "<p>\r\n"
                                                 "</p>\r\n"
                                                 "===== Segment End =====\r\n"
                                                 "========== HTML Part End ==========\r\n"
                                                 "\r\n");
}

TEST(CTesselFile, EmptyDocumentWritesEmptyPartsAndZeroCounts) {
    CTempDir dir;
    ASSERT_TRUE(CTesselFile().Save(dir.File("e.tsl")));
    EXPECT_EQ(CTempDir::Read(dir.File("e.tsl")), "========== Description Part Begin ==========\r\n"
                                                 "========== Description Part End ==========\r\n"
                                                 "\r\n" +
                                                     kEmptyFileTail);
}

TEST(CTesselFile, RoundTripGivesTheSameTables) {
    CTempDir dir;
    CTesselFile file;
    file.SetDescription("Title", "Menu = one");
    file.SetDescription("", "empty key");
    file.SetDescription("Other", "");
    file.SetParameter("I1-1", "a,b~@^`c|_#`d");
    file.AddResource("a.gif", "/x/y/", "img/");
    file.AddResource("b.gif", "", "");
    file.AddSegment("cursor", "line 1\r\n  indented  \r\n\r\n");
    file.AddSegment("style", "");
    ASSERT_TRUE(file.Save(dir.File("r.tsl")));

    CTesselFile back;
    ASSERT_TRUE(back.Load(dir.File("r.tsl")));
    EXPECT_EQ(back.Descriptions().Entries(), file.Descriptions().Entries());
    EXPECT_EQ(back.Parameters().Entries(), file.Parameters().Entries());
    ASSERT_EQ(back.GetResourceCount(), 2);
    EXPECT_EQ(back.GetResourceField(0, ResourceField::LocalPath), "/x/y/");
    EXPECT_EQ(back.GetResourceField(1, ResourceField::Name), "b.gif");
    EXPECT_EQ(back.GetResourceField(1, ResourceField::WebPath), "");
    ASSERT_EQ(back.GetSegmentCount(), 2);
    EXPECT_EQ(back.Segments()[0].body, "line 1\r\n  indented  \r\n\r\n");
    EXPECT_EQ(back.Segments()[1].position, "style");
    EXPECT_EQ(back.Segments()[1].body, "");

    // Saving what was read reproduces the file.
    ASSERT_TRUE(back.Save(dir.File("r2.tsl")));
    EXPECT_EQ(CTempDir::Read(dir.File("r2.tsl")), CTempDir::Read(dir.File("r.tsl")));
}

TEST(CTesselFile, ReaderAcceptsLfLowerCaseMarkersAndTrims) {
    CTempDir dir;
    CTesselFile file = LoadText(dir, "========== description part begin ==========\n"
                                     "  Title  =  a = b  \n"
                                     "no equals sign here\n"
                                     "========== DESCRIPTION PART END ==========\n"
                                     "========== Parameter Part Begin ==========\n"
                                     "p=1\n"
                                     "========== Parameter Part End ==========\n"
                                     "========== Resource Part Begin ==========\n"
                                     "junk = 3\n"
                                     "resource NUMBER = 2 entries\n"
                                     "no entry\n"
                                     "a=b\n"
                                     "a = b=c = d\n"
                                     "third=x=y\n"
                                     "========== Resource Part End ==========\n"
                                     "========== HTML Part Begin ==========\n"
                                     "SEGMENT number = 1\n"
                                     "segment position =  cursor \n"
                                     "  <p> \n"
                                     "===== segment end =====\n"
                                     "========== HTML Part End =========="); // no final line end
    EXPECT_EQ(file.GetDescription("Title"), "a = b");
    EXPECT_EQ(file.GetParameter("p"), "1");
    ASSERT_EQ(file.GetResourceCount(), 2);
    EXPECT_EQ(file.GetResourceField(0, ResourceField::Name), "a");
    EXPECT_EQ(file.GetResourceField(0, ResourceField::LocalPath), "b");
    EXPECT_EQ(file.GetResourceField(0, ResourceField::WebPath), "");
    EXPECT_EQ(file.GetResourceField(1, ResourceField::LocalPath), "b=c");
    EXPECT_EQ(file.GetResourceField(1, ResourceField::WebPath), "d");
    EXPECT_EQ(file.GetResourceFieldByName("third", ResourceField::LocalPath), "");
    ASSERT_EQ(file.GetSegmentCount(), 1);
    EXPECT_EQ(file.Segments()[0].position, "cursor");
    EXPECT_EQ(file.Segments()[0].body, "  <p> \r\n");
}

TEST(CTesselFile, MarkerWithTrailingSpaceIsNotAMarker) {
    CTempDir dir;
    CTesselFile file = LoadText(dir, "========== Description Part Begin ========== \r\n"
                                     "Title = lost\r\n"
                                     "========== Description Part End ==========\r\n");
    EXPECT_FALSE(file.Descriptions().Contains("Title"));
}

TEST(CTesselFile, LoadMergesAndKeepsWhatTheFileLacks) {
    CTempDir dir;
    CTesselFile file;
    file.SetDescription("Title", "kept");
    file.SetDescription("Description", "old");
    file.AddResource("r0", "l0", "w0");
    file.AddResource("r1", "l1", "w1");
    file.AddResource("r2", "l2", "w2");
    file.AddSegment("style", "s\r\n");
    const std::string path = dir.File("m.tsl");
    CTempDir::Write(path, "========== Description Part Begin ==========\r\n"
                          "Description = new\r\n"
                          "========== Description Part End ==========\r\n"
                          "========== Parameter Part Begin ==========\r\n"
                          "========== Parameter Part End ==========\r\n"
                          "========== Resource Part Begin ==========\r\n"
                          "Resource Number = 2\r\n"
                          "x=y=z\r\n"
                          "========== Resource Part End ==========\r\n"
                          "========== HTML Part Begin ==========\r\n"
                          "Segment Number = 0\r\n"
                          "========== HTML Part End ==========\r\n");
    ASSERT_TRUE(file.Load(path));
    EXPECT_EQ(file.GetDescription("Title"), "kept");
    EXPECT_EQ(file.GetDescription("Description"), "new");
    // Resized to two; the announced second entry swallowed the End marker, whose line has "=".
    ASSERT_EQ(file.GetResourceCount(), 2);
    EXPECT_EQ(file.GetResourceField(0, ResourceField::Name), "x");
    EXPECT_EQ(file.GetResourceField(1, ResourceField::Name), "");
    EXPECT_EQ(file.GetResourceField(1, ResourceField::LocalPath),
              "========= Resource Part End =========");
    EXPECT_EQ(file.GetResourceField(1, ResourceField::WebPath), "");
    // The HTML part was consumed while looking for the Resource End marker: segments stay.
    ASSERT_EQ(file.GetSegmentCount(), 1);
    EXPECT_EQ(file.Segments()[0].position, "style");
}

TEST(CTesselFile, DamagedFilesLoadWithoutHarm) {
    CTempDir dir;
    {
        // Only the HTML part: the search for the Description marker consumes the file.
        CTesselFile file;
        file.SetDescription("Title", "t");
        file.AddResource("r", "l", "w");
        const std::string path = dir.File("html-only.tsl");
        CTempDir::Write(path, "========== HTML Part Begin ==========\r\n"
                              "Segment Number = 1\r\nSegment Position = cursor\r\nx\r\n"
                              "===== Segment End =====\r\n========== HTML Part End ==========\r\n");
        EXPECT_TRUE(file.Load(path));
        EXPECT_EQ(file.GetSegmentCount(), 0);
        EXPECT_EQ(file.GetResourceCount(), 1);
        EXPECT_EQ(file.Descriptions().Entries(),
                  (std::vector<std::pair<std::string, std::string>>{{"Title", "t"}}));
    }
    {
        // Counts are unsigned 16-bit: "-1" announces 65535 entries; a count after 16 bits wraps.
        CTesselFile file = LoadText(dir, "========== Description Part Begin ==========\r\n"
                                         "========== Description Part End ==========\r\n"
                                         "========== Parameter Part Begin ==========\r\n"
                                         "========== Parameter Part End ==========\r\n"
                                         "========== Resource Part Begin ==========\r\n"
                                         "Resource Number = -1\r\n"
                                         "a=b=c\r\n");
        EXPECT_EQ(file.GetResourceCount(), 65535);
        EXPECT_EQ(file.GetResourceField(0, ResourceField::WebPath), "c");
        EXPECT_EQ(file.GetResourceField(65534, ResourceField::Name), "");
        EXPECT_EQ(file.GetResourceField(65535, ResourceField::Name), "");
        EXPECT_EQ(file.GetResourceField(-1, ResourceField::Name), "");
    }
    {
        CTesselFile file = LoadText(dir, "========== Description Part Begin ==========\r\n"
                                         "========== Description Part End ==========\r\n"
                                         "========== Parameter Part Begin ==========\r\n"
                                         "========== Parameter Part End ==========\r\n"
                                         "========== Resource Part Begin ==========\r\n"
                                         "Resource Number = 65537\r\n"
                                         "r=l=w\r\n"
                                         "========== Resource Part End ==========\r\n"
                                         "========== HTML Part Begin ==========\r\n"
                                         "Segment Number = 99999999999999999999\r\n"
                                         "Segment Position = cursor\r\n"
                                         "body without end\r\n");
        EXPECT_EQ(file.GetResourceCount(), 1); // 65537 kept in 16 bits
        EXPECT_EQ(file.GetResourceField(0, ResourceField::Name), "r");
        // A huge count clamps like atoi before it is cut to 16 bits; the body runs to the end.
        ASSERT_EQ(file.GetSegmentCount(), 65535);
        EXPECT_EQ(file.Segments()[0].body, "body without end\r\n");
    }
    {
        // A missing Description End marker: the rest is read as descriptions.
        CTesselFile file = LoadText(dir, "========== Description Part Begin ==========\r\n"
                                         "Title = t\r\n"
                                         "========== Parameter Part Begin ==========\r\n"
                                         "Version = 1.1\r\n");
        EXPECT_EQ(file.GetDescription("Version"), "1.1");
        EXPECT_EQ(file.Parameters().Size(), 0u);
    }
    CTesselFile file;
    EXPECT_FALSE(file.Load(dir.File("missing.tsl")));
    EXPECT_FALSE(file.Load(dir.Path()));
}

TEST(CTesselFile, LineBreaksInDescriptionsCannotBreakTheFile) {
    CTempDir dir;
    CTesselFile file;
    file.SetDescription("Title", "two\r\nlines");
    file.SetDescription("Key\nwith break", "v");
    file.SetDescription("Description", "after");
    ASSERT_TRUE(file.Save(dir.File("b.tsl")));
    CTesselFile back;
    ASSERT_TRUE(back.Load(dir.File("b.tsl")));
    EXPECT_EQ(back.GetDescription("Title"), "two  lines");
    EXPECT_EQ(back.GetDescription("Key with break"), "v");
    EXPECT_EQ(back.GetDescription("Description"), "after");
    EXPECT_EQ(back.Descriptions().Size(), 3u);
}

TEST(CTesselFile, SaveKeepsTheOldFileUnlessTheNewOneIsComplete) {
    CTempDir dir;
    const std::string path = dir.File("s.tsl");
    CTempDir::Write(path, "old");
    ::chmod(path.c_str(), 0640);
    CTesselFile file;
    file.SetDescription("Title", "new");
    ASSERT_TRUE(file.Save(path));
    EXPECT_NE(CTempDir::Read(path).find("Title = new\r\n"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);

    EXPECT_FALSE(file.Save(dir.File("no/such/folder.tsl")));
    EXPECT_FALSE(file.Save(dir.Path()));
    EXPECT_FALSE(file.Save(dir.Path() + "/"));
    EXPECT_FALSE(file.Save(""));

    if (::geteuid() != 0) {
        // A file that cannot be written in place is not replaced behind its back either.
        ::chmod(path.c_str(), 0440);
        EXPECT_FALSE(file.Save(path));
        ::chmod(path.c_str(), 0640);
    }
}

TEST(CTesselFile, WriteErrorThrowsAndLeavesTheOldFile) {
    CTempDir dir;
    const std::string path = dir.File("e.tsl");
    CTempDir::Write(path, "old content");
    CTesselFile file;
    file.AddSegment("cursor", std::string(200000, 'x') + "\r\n");

    // A file size limit makes the write fail after the file was created.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(file.Save(path), CTesselWriteError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(CTempDir::Read(path), "old content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
    // The document itself is still fine to save once the disk allows it.
    EXPECT_TRUE(file.Save(path));
    EXPECT_GT(CTempDir::Read(path).size(), 200000u);
}

TEST(CTesselFile, ListsMatchNamesExactlyAndStopAt65535) {
    CTesselFile file;
    file.AddResource("a", "l1", "w1");
    file.AddResource("a", "l2", "w2");
    EXPECT_EQ(file.GetResourceFieldByName("a", ResourceField::WebPath), "w1");
    EXPECT_EQ(file.GetResourceFieldByName("A", ResourceField::WebPath), "");
    for (std::size_t i = file.GetResourceCount(); i < CTesselFile::kMaxListEntries; ++i)
        ASSERT_TRUE(file.AddResource("r", "", ""));
    EXPECT_FALSE(file.AddResource("over", "", ""));
    EXPECT_EQ(file.GetResourceCount(), 65535); // the count still fits the file's 16 bits
}

} // namespace
