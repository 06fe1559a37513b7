#include "Runtime.h"

#include "CopySupportFiles.h"
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

bool PlaceRuntimeFiles(const std::string& folder, std::string* problem) {
    if (folder.empty())
        return true;
    bool placed = true;
    for (const EmbeddedFile& file : kEmbeddedFiles) {
        std::string reason;
        if (!WriteFileReplacing(file.contents, folder + std::string(file.name), &reason)) {
            if (placed && problem)
                *problem = std::string(file.name) + ": " + reason;
            placed = false;
        }
    }
    return placed;
}
