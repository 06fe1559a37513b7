#include "CTessel.h"
#include "CQuillaryToolDoc.h"
#include "HostTestSupport.h"
#include "Registry.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Points the classes root at another file for the life of the object.
class ScopedClassesRoot {
public:
    explicit ScopedClassesRoot(const QString& path) : m_saved(qgetenv("TESSEL_CLASSES_ROOT")) {
        qputenv("TESSEL_CLASSES_ROOT", path.toUtf8());
    }
    ~ScopedClassesRoot() { qputenv("TESSEL_CLASSES_ROOT", m_saved); }

private:
    QByteArray m_saved;
};

const char* const kClsid = "{0E58CB80-D066-11D2-9E76-5254AB10C899}";

} // namespace

class CTesselTest : public HostTest {};

TEST_F(CTesselTest, CreatePreparesTheRegisteredComponent) {
    REQUIRE_COMPONENT();
    CTessel tessel;
    ASSERT_TRUE(tessel.Create("TesselServer.Foldline"));
    EXPECT_EQ(tessel.progId, "TesselServer.Foldline");
    EXPECT_EQ(StringFromCLSID(tessel.classId), kClsid);
    const QFileInfo library(QString::fromStdString(ComponentLibraryPath()));
    EXPECT_EQ(QFileInfo(QString::fromStdString(tessel.componentFolder)).canonicalFilePath(),
              library.canonicalPath());
    EXPECT_EQ(tessel.GetTitle(), "Normal");
    EXPECT_EQ(tessel.GetDescription(), "");
    EXPECT_EQ(tessel.typeText, "Java Applet");
    EXPECT_EQ(tessel.nameText, "Quillary Foldline 1.1");
    EXPECT_EQ(tessel.menuText, "Quillary Foldline 1.1");
    EXPECT_EQ(tessel.messageText,
              "Build a perfect navigation tree in which the sub-menu will slide downwards");
    const std::string sample = tessel.componentFolder + "/Sample/sample.htm";
    EXPECT_EQ(tessel.samplePath, QFileInfo::exists(QString::fromStdString(sample)) ? sample : "");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CTesselTest, UnregisteredComponentFailsQuietlyAndTheDocumentReports) {
    ScopedClassesRoot empty(TempPath("empty.reg"));
    CTessel tessel;
    EXPECT_FALSE(tessel.Create("TesselServer.Foldline"));
    EXPECT_TRUE(messages.isEmpty());

    CQuillaryToolDoc doc;
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_EQ(messages, QStringList{"Create the dispatch of the TesselServer.Foldline Error!"});
    EXPECT_FALSE(doc.HasComponent());

    messages.clear();
    EXPECT_FALSE(Start());
    EXPECT_EQ(messages, QStringList{"Create the dispatch of the TesselServer.Foldline Error!"});
}

TEST_F(CTesselTest, RegisteredClassWhoseLibraryIsMissingReportsTheInstance) {
    ScopedClassesRoot fake(TempPath("fake.reg"));
    const std::string classKey = std::string("CLSID\\") + kClsid;
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "TesselServer.Foldline\\CLSID", kClsid),
              ERROR_SUCCESS);
    ASSERT_EQ(
        RegSetValue(HKEY_CLASSES_ROOT, (classKey + "\\ProgID").c_str(), "TesselServer.Foldline"),
        ERROR_SUCCESS);
    const std::string missing = TempPath("gone/libTesselFoldline.so").toStdString();
    ASSERT_EQ(
        RegSetValue(HKEY_CLASSES_ROOT, (classKey + "\\InprocServer32").c_str(), missing.c_str()),
        ERROR_SUCCESS);

    CTessel tessel;
    EXPECT_FALSE(tessel.Create("TesselServer.Foldline"));
    EXPECT_EQ(messages, QStringList{"Create Dispatch of the TesselServer.Foldline Error!"});
    EXPECT_EQ(tessel.componentFolder, FolderOfPath(missing));
    EXPECT_EQ(tessel.samplePath, "");
}

TEST_F(CTesselTest, ScanTemplatesListsOnlyThisComponentsFiles) {
    REQUIRE_COMPONENT();
    const QString folder = TempPath("templates");
    ASSERT_TRUE(QDir().mkpath(folder));
    CTessel scanner;
    ASSERT_TRUE(scanner.Create("TesselServer.Foldline"));
    scanner.componentFolder = folder.toStdString();

    std::vector<std::string> titles{"stale"}, descriptions{"stale"}, paths{"stale"};
    scanner.ScanTemplates(titles, descriptions, paths);
    EXPECT_TRUE(titles.empty());
    EXPECT_TRUE(descriptions.empty());
    EXPECT_TRUE(paths.empty());

    CTessel writer;
    ASSERT_TRUE(writer.Create("TesselServer.Foldline"));
    writer.SetTitle("Menu2");
    writer.SetDescription("second menu");
    const std::string own = (folder + "/Menu2_TesselServer.Foldline.tsl").toStdString();
    ASSERT_TRUE(writer.WriteConfigFile(own));
    WriteText(folder + "/Other_TesselServer.Other.tsl",
              "========== Description Part Begin ==========\r\n"
              "ProgID = TesselServer.Other\r\nTitle = Foreign\r\n"
              "========== Description Part End ==========\r\n\r\n");
    WriteText(folder + "/notes.txt", "not a widget\r\n");

    scanner.ScanTemplates(titles, descriptions, paths);
    EXPECT_EQ(titles, std::vector<std::string>{"Menu2"});
    EXPECT_EQ(descriptions, std::vector<std::string>{"second menu"});
    EXPECT_EQ(paths, std::vector<std::string>{own});
}

TEST(PathHelpers, SplitAtTheLastSlashOfEitherKind) {
    EXPECT_EQ(FolderOfPath("C:\\Web\\menu.tsl"), "C:\\Web");
    EXPECT_EQ(FileNameOfPath("C:\\Web\\menu.tsl"), "menu.tsl");
    EXPECT_EQ(FolderOfPath("/a\\b/c.so"), "/a\\b");
    EXPECT_EQ(FolderOfPath("plain"), "");
    EXPECT_EQ(FileNameOfPath("plain"), "plain");
}
