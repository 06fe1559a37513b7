// The menu tree as JSON, for other tools: every menu's items with their label, link, target,
// description and children (and "visible": false for what is hidden). data/help describes the
// schema.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CAppletParameters;
class CFurlin;

namespace site {

inline constexpr const char* kMenuJsonFormat = "foldline-menu";
// JSON files larger than this are not read.
inline constexpr std::size_t kMaxJsonBytes = 64u << 20;

std::string MenuToJson(const CAppletParameters& model);

// The menus of a JSON text; false with the reason, naming where in the text it lies. Items
// take the defaults of a new item for everything the JSON does not carry.
bool MenuFromJson(std::string_view text, std::vector<std::unique_ptr<CFurlin>>& menus,
                  std::string& reason);

} // namespace site
