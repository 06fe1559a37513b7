// The widget's browser runtime (runtime/furlin.js), embedded at build time.
#pragma once

#include <cstddef>
#include <string>

extern const char FURLIN_RUNTIME[];
extern const std::size_t FURLIN_RUNTIME_SIZE;

inline std::string FurlinRuntime() { return std::string(FURLIN_RUNTIME, FURLIN_RUNTIME_SIZE); }
