// The lines that open and close the parts of a widget file, shared by its reader and writer.
#pragma once

namespace tessel_markers {

inline constexpr const char* kDescriptionBegin = "========== Description Part Begin ==========";
inline constexpr const char* kDescriptionEnd = "========== Description Part End ==========";
inline constexpr const char* kParameterBegin = "========== Parameter Part Begin ==========";
inline constexpr const char* kParameterEnd = "========== Parameter Part End ==========";
inline constexpr const char* kResourceBegin = "========== Resource Part Begin ==========";
inline constexpr const char* kResourceEnd = "========== Resource Part End ==========";
inline constexpr const char* kHtmlBegin = "========== HTML Part Begin ==========";
inline constexpr const char* kHtmlEnd = "========== HTML Part End ==========";
inline constexpr const char* kSegmentEnd = "===== Segment End =====";

} // namespace tessel_markers
