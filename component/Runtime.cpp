#include "Runtime.h"

#include "RuntimeFiles.h"

#include <cstddef>
#include <string_view>

extern const char FURLIN_SCRIPT[];
extern const std::size_t FURLIN_SCRIPT_SIZE;
extern const char FURLIN_STYLE_SHEET[];
extern const std::size_t FURLIN_STYLE_SHEET_SIZE;

namespace {

struct EmbeddedFile {
    std::string_view name;
    std::string_view contents;
};

const EmbeddedFile kEmbeddedFiles[] = {
    {kRuntimeScript, {FURLIN_SCRIPT, FURLIN_SCRIPT_SIZE}},
    {kRuntimeStyleSheet, {FURLIN_STYLE_SHEET, FURLIN_STYLE_SHEET_SIZE}},
};

} // namespace

CopyFailures PlaceRuntimeFiles(const std::string& folder) {
    CopyFailures failures;
    if (folder.empty())
        return failures;
    // Like the applet class file, a runtime file that cannot be written does not fail the save;
    // it is reported with the support files that could not be copied.
    for (const EmbeddedFile& file : kEmbeddedFiles)
        if (FileResult result = WriteFileReplacing(file.contents, folder + std::string(file.name));
            !result)
            failures.push_back(std::move(result));
    return failures;
}
