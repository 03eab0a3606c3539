// Splitting the process's command line into the program's own path and the argument text.
// Pure, so that it can be tested anywhere; process.cpp feeds it what Windows reports.
#pragma once

#include <initializer_list>
#include <string_view>

namespace fq::win32 {

// The command line after the program's path and the blanks (spaces, tabs) that follow it.
// A quoted path ends at its closing quote. An unquoted one is the longest of `own_paths`
// (the program's full and short paths and file names, as the system reports them) that the
// line starts with, compared without regard to case and followed by a blank or the end; where
// none matches, the path ends at the first blank.
std::wstring_view ArgumentsOf(std::wstring_view command_line,
                              std::initializer_list<std::wstring_view> own_paths);

}  // namespace fq::win32
