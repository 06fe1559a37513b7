// The markup the live previews draw: every file as a local file, no sound, no link followed, and
// without the runtime's own elements (the page around it loads furlin.js and furlin.css). With
// node identifiers, a click in it can name its item.
#pragma once

#include <string>

class CAppletParameters;

std::string PreviewMarkup(const CAppletParameters& model, bool nodeIds);
