#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    // Never touch the real classes root or settings.
    const std::string scratch =
        (std::filesystem::temp_directory_path() / ("foldline-pages-" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(scratch);
    ::setenv("TESSEL_CLASSES_ROOT", (scratch + "/classes.reg").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    int result = 0;
    {
        // The live preview's web engine shares its drawing contexts with the windows'.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    return result;
}
