#include "startup/mode_switch.h"

namespace fq {

std::string NormalisedMode(std::string_view argument_text) {
  const size_t first = argument_text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  const size_t last = argument_text.find_last_not_of(' ');
  std::string mode(argument_text.substr(first, last - first + 1).substr(0, 2));
  for (char& c : mode) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return mode;
}

Mode ModeOf(std::string_view argument_text) {
  const std::string mode = NormalisedMode(argument_text);
  if (mode == "/C") return Mode::Settings;
  if (mode == "/S") return Mode::Saver;
  if (mode == "/P") return Mode::Preview;
  if (mode == "/A") return Mode::ChangePassword;
  return Mode::Settings;
}

std::string_view PasswordParentText(std::string_view argument_text) {
  return argument_text.size() <= 2 ? std::string_view() : argument_text.substr(2);
}

}  // namespace fq
