#pragma once

#include <string>

// The logon start entry: the value "tapetor" in the current user's Run key, whose
// text Windows runs as a command line at every logon. Texts are in the ANSI code page.
namespace win::runkey {

// The key below HKEY_CURRENT_USER that holds the value, and the value's name.
inline constexpr const char* runKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* valueName = "tapetor";

// The command line stored in the value: the program path in double quotes, then a
// blank and switchText when that is not empty. Without the quotes a path with blanks
// ("C:\Program Files\...") would be split at the first blank.
std::string commandLine(const std::string& programPath, const std::string& switchText);

// Whether the Run key can be opened for writing.
bool canOpen();

bool write(const std::string& programPath, const std::string& switchText);

// An absent value counts as removed.
bool remove();

} // namespace win::runkey
