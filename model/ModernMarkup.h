// The markup of HTML kinds 2 (local) and 3 (web) for today's browsers: the visible tree as nested
// lists of links that work without scripts, with everything the look needs as data that
// furlin.js reads (runtime/README.md describes the markup).
#pragma once

#include "CAppletParameters.h"
#include "RuntimeFiles.h"

#include <functional>
#include <string>

struct ModernMarkupOptions {
    // Where file references point: kHtmlLocal the preview folder, kHtmlWeb each file's web folder.
    int mode = kHtmlLocal;
    // The local kind's folder ("PreviewPath"), joined directly to file names.
    std::string previewFolder;
    // Every file reference as a file: URL of its full local path, so images show before any copy.
    bool localFiles = false;
    // Every item carries its position in the whole tree (data-furlin-node).
    bool nodeIds = false;
    // The widget plays no sound and follows no link; a click picks the item (data-furlin-preview).
    bool preview = false;
    // The link to furlin.css before the widget and the furlin.js script after it.
    bool runtimeElements = true;
    // Each item's link as the page should hold it (publishing rewrites site-relative links
    // relative to the page); unset, links are written as the author wrote them.
    std::function<std::string(const std::string& link)> mapLink;
    // The item that names the page showing the menu: aria-current="page", its branch open.
    const CFurlinItem* currentItem = nullptr;
};

// Reads the model only; files that no longer exist are the caller's to drop first.
std::string ModernMarkup(const CAppletParameters& model, const ModernMarkupOptions& options);
