// The widget runtime's files, which a page loads from beside itself.
#pragma once

inline constexpr const char* kRuntimeScript = "furlin.js";
inline constexpr const char* kRuntimeStyleSheet = "furlin.css";
inline constexpr const char* kRuntimeFiles[] = {kRuntimeScript, kRuntimeStyleSheet};
