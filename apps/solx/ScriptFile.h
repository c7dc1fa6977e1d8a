#pragma once
// Reading a script file for --script, with limits: a script is typed text, so a file that
// never ends (/dev/zero, a pipe that keeps writing) or a line of megabytes is a mistake.

#include <cstddef>
#include <string>

namespace solx::app {

constexpr size_t kMaxScriptLine = 1 << 20;    // bytes in one line
constexpr size_t kMaxScriptSize = 64u << 20;  // bytes in the whole script

// Reads PATH into TEXT. False with ERROR set ("PATH line N: ...", "PATH: ...") for a folder, a
// file that cannot be read, a line longer than kMaxScriptLine or a script over kMaxScriptSize.
bool ReadScript(const std::string& path, std::string& text, std::string& error);

}  // namespace solx::app
