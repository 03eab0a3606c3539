#include "settings_dialog/config_layout.h"

#include <utility>

namespace fq {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr ControlColours kLabelColours{kWhite, kBlack};
constexpr ControlColours kBoxColours{kWhite, 0x404040};

ControlDefinition Control(std::string name, ControlKind kind, TwipsRect rect, std::string text) {
  ControlDefinition control;
  control.name = std::move(name);
  control.kind = kind;
  control.rect = rect;
  control.text = std::move(text);
  return control;
}

ControlDefinition Button(std::string name, TwipsRect rect, std::string text, DialogControl role) {
  ControlDefinition button = Control(std::move(name), ControlKind::PushButton, rect, std::move(text));
  button.role = role;
  return button;
}

ControlDefinition Box(std::string name, TwipsRect rect, std::string design_text, DialogControl role) {
  ControlDefinition box = Control(std::move(name), ControlKind::TextBox, rect, std::move(design_text));
  box.role = role;
  box.colours = kBoxColours;
  return box;
}

ControlDefinition Label(std::string name, TwipsRect rect, std::string text,
                  TextAlign align = TextAlign::Centre, std::optional<FontStyle> font = {}) {
  ControlDefinition label = Control(std::move(name), ControlKind::Label, rect, std::move(text));
  label.colours = kLabelColours;
  label.align = align;
  label.font = std::move(font);
  return label;
}

ControlDefinition Picture(std::string name, TwipsRect rect, DialogPicture picture) {
  ControlDefinition image = Control(std::move(name), ControlKind::Picture, rect, "");
  image.picture = picture;
  return image;
}

DialogLayout MakeConfigLayout() {
  DialogLayout layout;
  layout.caption = "About";
  layout.background = kBlack;
  layout.client_width = 6150;
  layout.client_height = 3465;
  layout.default_font = {"MS Sans Serif", 8, false};
  layout.controls = {
      Button("cmdOK", {480, 2640, 2175, 375}, "OK", DialogControl::Ok),
      Box("txtSpeed", {3240, 1515, 615, 285}, "25", DialogControl::SpeedBox),
      Box("txtCount", {3240, 1900, 615, 285}, "8", DialogControl::CountBox),
      Button("cmdCancel", {3480, 2640, 2175, 375}, "Cancel", DialogControl::Cancel),
      Label("lblCredit", {2280, 600, 2895, 255}, "Drawn and coded by the Quorlin crew"),
      Label("lblTitle", {2400, 120, 2655, 375}, "Flying Quorlin", TextAlign::Centre,
            FontStyle{"MS Sans Serif", 12, true}),
      Label("lblWhy", {2520, 960, 2415, 255}, "For everyone who looks up"),
      Label("lblSpeed", {2040, 1560, 1095, 255}, "Quorlin Speed", TextAlign::Left),
      Label("lblCount", {2040, 1940, 1095, 255}, "Quorlin Count"),
      Picture("img1", {1080, 240, 1140, 960}, DialogPicture::Logo),
  };
  return layout;
}

}  // namespace

const DialogLayout& ConfigLayout() {
  static const DialogLayout layout = MakeConfigLayout();
  return layout;
}

}  // namespace fq
