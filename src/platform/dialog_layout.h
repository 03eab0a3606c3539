// The settings dialog as data: the window and each control, in twips, as the core defines
// them. A port turns twips into pixels with the system's pixels per inch (1440 twips to the
// inch) and creates the controls in the order given, which is also the focus order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fq {

// The controls the core reads or writes by name.
enum class DialogControl { Ok, SpeedBox, CountBox, Cancel };

enum class ControlKind { PushButton, TextBox, Label, Picture };

enum class TextAlign { Left, Centre };

// Pictures the program carries; a port maps each to its own resource.
enum class DialogPicture { None, Logo };

inline constexpr int32_t kTwipsPerInch = 1440;

struct TwipsRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// Colours are 0x00RRGGBB.
struct ControlColours {
  uint32_t text = 0;
  uint32_t background = 0;
};

struct FontStyle {
  std::string face;
  int32_t points = 0;
  bool bold = false;
};

struct ControlDefinition {
  std::string name;
  ControlKind kind = ControlKind::Label;
  TwipsRect rect;
  std::string text;
  std::optional<DialogControl> role;      // set for the controls the core addresses
  std::optional<ControlColours> colours;  // nothing: the system's standard look
  TextAlign align = TextAlign::Centre;
  std::optional<FontStyle> font;  // nothing: the dialog's default font
  // Shown at its own size at the rect's top-left corner; the rect's size is not applied.
  DialogPicture picture = DialogPicture::None;
};

struct DialogLayout {
  std::string caption;
  uint32_t background = 0;
  int32_t client_width = 0;  // twips
  int32_t client_height = 0;
  FontStyle default_font;
  std::vector<ControlDefinition> controls;  // in focus order; controls without focus follow
};

}  // namespace fq
