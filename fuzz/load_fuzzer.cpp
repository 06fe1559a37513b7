// Feeds arbitrary bytes to the document reader and then to the stored-parameter parser, the path
// every opened widget file takes, and encodes what was read in every form a page gets.
#include "CAppletParameters.h"
#include "CTesselFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string ScratchFile() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/foldline-fuzz-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        std::abort();
    ::close(fd);
    return pattern;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchFile();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);

    CTesselFile document;
    if (!document.Load(path))
        std::abort(); // the file was just written: it must open
    CAppletParameters model;
    model.Reset();
    model.ReadParameters(document, "/nonexistent-folder/");
    // What was read must encode again without trouble.
    CTesselFile again;
    model.WriteParameters(again);
    for (const int mode : {kHtmlLocal, kHtmlWeb}) {
        model.GetAppletHtml(document, mode);
        model.GetModernHtml(document, mode);
    }
    return 0;
}
