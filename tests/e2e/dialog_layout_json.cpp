// fq_dialog_layout: prints the settings dialog's form data as JSON, so that the end-to-end
// tests compare the real window against the same table the program is built from.
#include <cstdio>
#include <string>

#include "settings_dialog/config_layout.h"

namespace fq {
namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string Font(const FontStyle& font) {
  return "{\"face\": " + Quoted(font.face) + ", \"points\": " + std::to_string(font.points) +
         ", \"bold\": " + (font.bold ? "true" : "false") + "}";
}

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton: return "button";
    case ControlKind::TextBox: return "textbox";
    case ControlKind::Label: return "label";
    case ControlKind::Picture: return "picture";
  }
  return "";
}

std::string Control(const ControlDefinition& control) {
  const TwipsRect& r = control.rect;
  std::string json = "{\"name\": " + Quoted(control.name) + ", \"kind\": \"" +
                     KindName(control.kind) + "\", \"rect\": [" + std::to_string(r.left) + ", " +
                     std::to_string(r.top) + ", " + std::to_string(r.width) + ", " +
                     std::to_string(r.height) + "], \"text\": " + Quoted(control.text);
  json += ", \"takes_focus\": ";
  json += TakesFocus(control.kind) ? "true" : "false";
  json += ", \"align\": ";
  json += control.align == TextAlign::Left ? "\"left\"" : "\"centre\"";
  json += ", \"colours\": ";
  json += control.colours ? "{\"text\": " + std::to_string(control.colours->text) +
                                ", \"background\": " +
                                std::to_string(control.colours->background) + "}"
                          : "null";
  json += ", \"font\": " + (control.font ? Font(*control.font) : std::string("null"));
  json += ", \"picture\": ";
  json += control.picture == DialogPicture::Logo ? "\"logo\"" : "null";
  return json + "}";
}

}  // namespace
}  // namespace fq

int main() {
  const fq::DialogLayout& layout = fq::ConfigLayout();
  std::string json = "{\"caption\": " + fq::Quoted(layout.caption) +
                     ", \"background\": " + std::to_string(layout.background) +
                     ", \"client_width\": " + std::to_string(layout.client_width) +
                     ", \"client_height\": " + std::to_string(layout.client_height) +
                     ", \"default_font\": " + fq::Font(layout.default_font) + ", \"controls\": [";
  for (size_t index = 0; index < layout.controls.size(); ++index) {
    json += (index ? ",\n  " : "\n  ") + fq::Control(layout.controls[index]);
  }
  json += "\n]}\n";
  std::fputs(json.c_str(), stdout);
  return 0;
}
