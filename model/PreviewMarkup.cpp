#include "PreviewMarkup.h"

#include "ModernMarkup.h"

std::string PreviewMarkup(const CAppletParameters& model, bool nodeIds) {
    ModernMarkupOptions options;
    options.localFiles = true;
    options.nodeIds = nodeIds;
    options.preview = true;
    options.runtimeElements = false;
    return ModernMarkup(model, options);
}
