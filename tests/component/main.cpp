#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <cstdlib>

int main(int argc, char** argv) {
    // Never touch the real classes root or settings: one scratch folder per run.
    std::string scratch =
        (std::filesystem::temp_directory_path() / "foldline-component-env-XXXXXX").string();
    if (!::mkdtemp(scratch.data()))
        return 2;
    ::setenv("TESSEL_CLASSES_ROOT", (scratch + "/classes.reg").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
    ::setenv("XDG_DATA_HOME", scratch.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    return status;
}
