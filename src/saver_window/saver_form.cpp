#include "saver_window/saver_form.h"

namespace fq {

void SaverForm::Load() { platform_.LoadSaverWindow(*this); }

// Placeholder handlers until dismissal and shut-down land: any input ends the saver.
void SaverForm::KeyDown(int16_t, int16_t) { platform_.EndProcessNow(); }
void SaverForm::MouseDown(int16_t, int16_t, float, float) { platform_.EndProcessNow(); }
void SaverForm::MouseMove(int16_t, int16_t, float, float) {}
void SaverForm::CloseRequested(int16_t) { platform_.EndProcessNow(); }

}  // namespace fq
