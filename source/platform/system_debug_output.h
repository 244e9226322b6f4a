#pragma once

// The operating system's side of debug_output.h, one implementation per
// system: where debug output goes when no sink is set.
namespace platform {

void writeSystemDebugOutput(const char* text);

}  // namespace platform
