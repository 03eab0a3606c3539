// The grammar of the numbers the settings take, written apart from the code as a regular
// expression: the fuzz targets' oracle. Texts of a few kilobytes at most keep its
// backtracking cheap.
#pragma once

#include <regex>
#include <string>

inline bool MatchesGrammar(const std::string& text, char separator) {
  static const std::regex dot(R"([ \t]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?[ \t]*)");
  static const std::regex comma(R"([ \t]*[+-]?([0-9]+,?[0-9]*|,[0-9]+)([eE][+-]?[0-9]+)?[ \t]*)");
  return std::regex_match(text, separator == ',' ? comma : dot);
}
