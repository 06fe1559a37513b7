// The widget runtime's files, which a page loads from beside itself.
#pragma once

inline constexpr const char* kRuntimeScript = "furlin.js";
inline constexpr const char* kRuntimeStyleSheet = "furlin.css";
inline constexpr const char* kRuntimeFiles[] = {kRuntimeScript, kRuntimeStyleSheet};

// The applet that the applet HTML kinds load; it lives in the component folder and is copied
// beside the page with the other support files.
inline constexpr const char* kAppletClassFile = "furlin.class";
