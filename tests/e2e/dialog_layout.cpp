// fq_dialog_layout: prints the settings dialog's layout table for the end-to-end tests. First
// line: caption, client width and height (twips); then per control, in creation order: name,
// the Win32 class that shows it, left, top, width, height (twips), 1 for a picture, text.
#include <cstdio>

#include "settings_dialog/config_layout.h"

int main() {
  const fq::DialogLayout& layout = fq::ConfigLayout();
  std::printf("%s\t%d\t%d\n", layout.caption.c_str(), layout.client_width, layout.client_height);
  for (const fq::ControlDefinition& c : layout.controls) {
    std::printf("%s\t%s\t%d\t%d\t%d\t%d\t%d\t%s\n", c.name.c_str(),
                c.kind == fq::ControlKind::PushButton ? "Button"
                : c.kind == fq::ControlKind::TextBox  ? "Edit"
                                                      : "Static",
                c.rect.left, c.rect.top, c.rect.width, c.rect.height,
                c.picture != fq::DialogPicture::None, c.text.c_str());
  }
}
