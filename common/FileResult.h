// The outcome of one file operation, carried to whoever tells the user: whether it worked and,
// when not, the system's reason and the path it concerned.
#pragma once

#include <string>

struct FileResult {
    // Where it failed: before anything was read or written (the file could not be opened or
    // created), or part way, after the file was opened.
    enum class Stage { None, Open, Write };

    Stage failed = Stage::None;
    std::string path;
    std::string reason; // the system's error text, or what was wrong with the file

    bool Ok() const { return failed == Stage::None; }
    explicit operator bool() const { return Ok(); }
    // "path: reason", or empty when it worked.
    std::string Describe() const;

    static FileResult Failure(Stage stage, std::string path, std::string reason);
    // The reason is the system's text for the error number.
    static FileResult FromErrno(Stage stage, std::string path, int error);
};
