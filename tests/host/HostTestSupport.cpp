#include "HostTestSupport.h"

#include "CQuillaryToolDoc.h"
#include "Com.h"
#include "HostServices.h"
#include "Prompts.h"
#include "Registry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

namespace {

bool g_registered = false;
std::string g_problem = "not registered yet";
std::string g_library;

std::string BuildDir() {
    const char* dir = std::getenv("FOLDLINE_BUILD_DIR");
    return dir != nullptr ? dir : "";
}

void RegisterComponent() {
    const std::string build = BuildDir();
    if (build.empty()) {
        g_problem = "FOLDLINE_BUILD_DIR is not set";
        return;
    }
    g_library = build + "/component/libTesselFoldline.so";
    if (!QFile::exists(QString::fromStdString(g_library))) {
        g_problem = g_library + " does not exist";
        return;
    }
    const QString regsvr = QString::fromStdString(build + "/bin/tessel-regsvr");
    if (QFile::exists(regsvr)) {
        QProcess process;
        process.start(regsvr, {QString::fromStdString(g_library)});
        if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
            process.exitCode() == 0) {
            g_registered = true;
            return;
        }
        g_problem = "tessel-regsvr failed: " + process.readAllStandardError().toStdString();
        return;
    }
    void* handle = ::dlopen(g_library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        g_problem = std::string("dlopen failed: ") + ::dlerror();
        return;
    }
    void* symbol = ::dlsym(handle, "DllRegisterServer");
    PFN_DllRegisterServer reg = nullptr;
    if (symbol != nullptr)
        std::memcpy(&reg, &symbol, sizeof reg);
    const HRESULT hr = reg != nullptr ? reg() : E_FAIL;
    g_registered = SUCCEEDED(hr);
    if (!g_registered)
        g_problem = "DllRegisterServer failed: " + HResultToHex(hr);
}

} // namespace

QByteArray OneMenuWidget(const QByteArray& title, const QByteArray& itemLines, int items) {
    const QByteArray style = "0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,0,16777215,1,0,0,14,0,0,0,0,0,"
                             "1,0,,,0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,";
    return "========== Description Part Begin ==========\r\n"
           "Title = " +
           title +
           "\r\nProgID = TesselServer.Foldline\r\nPreviewPath = \r\n"
           "========== Description Part End ==========\r\n\r\n"
           "========== Parameter Part Begin ==========\r\n"
           "Version = 1.1\r\n"
           "ApStyle = My Foldline,0,200,400,0,0,,0,0,0,,1,5,5,0,1,0,1,1,0,5,5,0,,,,1,Loading\r\n"
           "MStyle-0 = 0,0,0,0,40,15,80,20,5,0,top-level Foldline,1\r\n"
           "IStyle-0 = " +
           style + "\r\nMStyle-1 = 0,0,0,0,40,15,80,20,5,0,Menu,1\r\nIStyle-1 = " + style + "\r\n" +
           itemLines + "Misc = 2," + QByteArray::number(items) +
           ",0,-0,0-1,\r\n"
           "========== Parameter Part End ==========\r\n\r\n"
           "========== Resource Part Begin ==========\r\nResource Number = 0\r\n"
           "========== Resource Part End ==========\r\n\r\n"
           "========== HTML Part Begin ==========\r\nSegment Number = 0\r\n"
           "========== HTML Part End ==========\r\n\r\n";
}

bool ComponentRegistered() {
    return g_registered;
}
const std::string& ComponentProblem() {
    return g_problem;
}
std::string ComponentLibraryPath() {
    return g_library;
}

void HostTest::AnswerChoices() {
    ui::prompts().askChoice = [this](QWidget*, const QString& title, const QString& text,
                                     const QStringList& buttons, int defaultButton) {
        EXPECT_EQ(title, QStringLiteral("Quillary Foldline"));
        questions << text;
        choiceButtons = buttons;
        choiceDefault = defaultButton;
        if (choiceAnswers.empty())
            return -1;
        const int answer = choiceAnswers.front();
        choiceAnswers.pop_front();
        return answer;
    };
}

void HostTest::SetUp() {
    ASSERT_TRUE(m_temp.isValid());
    ASSERT_TRUE(QDir().mkpath(AppFolder()));
    m_savedCurrent = QDir::currentPath();
    // As the program does at start-up; the count nests, so tests may start the program too.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    CQuillaryToolApp::Profile()->clear();

    ui::Prompts& p = ui::prompts();
    p.message = [this](QWidget*, const QString& title, const QString& text, ui::Icon icon) {
        EXPECT_EQ(title, QStringLiteral("Quillary Foldline"));
        EXPECT_EQ(icon, ui::Icon::Exclamation);
        messages << text;
    };
    p.askOkCancel = [this](QWidget*, const QString&, const QString& text, ui::Icon) {
        questions << text;
        return false;
    };
    p.askYesNoCancel = [this](QWidget*, const QString& title, const QString& text) {
        EXPECT_EQ(title, QStringLiteral("Quillary Foldline"));
        questions << text;
        if (yesNoCancelAnswers.empty())
            return -1;
        const int answer = yesNoCancelAnswers.front();
        yesNoCancelAnswers.pop_front();
        return answer;
    };
    AnswerChoices();
    p.pickColor = [](QWidget*, QColor*) { return false; };
    p.pickFolder = [this](QWidget*, const QString& caption, const QString&) {
        EXPECT_EQ(caption, QStringLiteral("Choose a directory"));
        return folderToPick;
    };
    p.pickOpenFile = [this](QWidget*, const QString&, const QString&, const QString&) {
        return openFileToPick;
    };
    p.pickSaveFile = [this](QWidget*, const QString&, const QString& start, const QString&) {
        lastProposedSaveName = start;
        return saveFileToPick;
    };

    host::Services& s = host::services();
    s.openUrl = [this](const QUrl& url) {
        openedUrls << url;
        return true;
    };
    s.startProgram = [](const QString&, const QStringList&, const QString&) { return true; };
    s.runDialog = [this](QDialog& dialog) {
        if (!dialogRunner) {
            ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
            return false;
        }
        return dialogRunner(dialog);
    };
}

void HostTest::TearDown() {
    if (app)
        app->ExitInstance();
    app.reset();
    CoUninitialize();
    ui::resetPrompts();
    host::resetServices();
    QDir::setCurrent(m_savedCurrent);
}

namespace {
const char* const kServerKey = "CLSID\\{0E58CB80-D066-11D2-9E76-5254AB10C899}\\InprocServer32";
} // namespace

void OwnComponentFolderTest::SetUp() {
    HostTest::SetUp();
    if (!ComponentRegistered())
        return;
    RegQueryValue(HKEY_CLASSES_ROOT, kServerKey, &m_savedServer);
    componentFolder = TempPath("component");
    ASSERT_TRUE(QDir().mkpath(componentFolder));
    const QString link = componentFolder + "/libTesselFoldline.so";
    ASSERT_TRUE(QFile::link(QString::fromStdString(ComponentLibraryPath()), link));
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, kServerKey, link.toUtf8().constData()), ERROR_SUCCESS);
}

void OwnComponentFolderTest::TearDown() {
    if (!m_savedServer.empty())
        RegSetValue(HKEY_CLASSES_ROOT, kServerKey, m_savedServer.c_str());
    HostTest::TearDown();
}

bool HostTest::Start(const QStringList& arguments) {
    app = std::make_unique<CQuillaryToolApp>(AppFolder());
    return app->InitInstance(arguments);
}

void HostTest::WriteText(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(content);
}

QByteArray HostTest::ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

int main(int argc, char** argv) {
    // Nothing here may touch the user's classes root, settings or files.
    static QTemporaryDir root;
    if (!root.isValid())
        return 2;
    const QByteArray base = root.path().toUtf8();
    qputenv("TESSEL_CLASSES_ROOT", base + "/classes.reg");
    qputenv("XDG_CONFIG_HOME", base + "/config");
    qputenv("XDG_DATA_HOME", base + "/data");
    qputenv("HOME", base + "/home");
    QDir().mkpath(root.path() + "/home");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // The live preview's web engine shares its drawing contexts with the windows'.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    RegisterComponent();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
