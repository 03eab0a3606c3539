#include "command_line.h"

#include <algorithm>
#include <cwctype>

namespace fq::win32 {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool StartsWithPath(std::wstring_view line, std::wstring_view path) {
  if (path.empty() || path.size() > line.size()) return false;
  if (path.size() < line.size() && !IsBlank(line[path.size()])) return false;
  return std::equal(path.begin(), path.end(), line.begin(), [](wchar_t a, wchar_t b) {
    return std::towlower(a) == std::towlower(b);
  });
}

}  // namespace

std::wstring_view ArgumentsOf(std::wstring_view command_line,
                              std::initializer_list<std::wstring_view> own_paths) {
  size_t end_of_path = 0;
  if (!command_line.empty() && command_line[0] == L'"') {
    const size_t closing = command_line.find(L'"', 1);
    end_of_path = closing == std::wstring_view::npos ? command_line.size() : closing + 1;
  } else {
    end_of_path = std::find_if(command_line.begin(), command_line.end(), IsBlank) -
                  command_line.begin();
    // A path with blanks in it, unquoted, is only known by being the program's own.
    for (std::wstring_view path : own_paths) {
      if (StartsWithPath(command_line, path)) end_of_path = std::max(end_of_path, path.size());
    }
  }
  while (end_of_path < command_line.size() && IsBlank(command_line[end_of_path])) ++end_of_path;
  return command_line.substr(end_of_path);
}

}  // namespace fq::win32
