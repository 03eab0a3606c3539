#include "platform/scaled_stage.h"

#include <cmath>

namespace fq {

void ScaledStage::LoadSaverWindow(const WindowDesign& design, SaverEvents& events) {
  events_ = &events;
  const PixelRect& rect = design.rect;
  window_.LoadSaverWindow(
      {design.title, {Up(rect.left), Up(rect.top), Up(rect.width), Up(rect.height)}}, *this);
}

void ScaledStage::LoadWorkSurfaces(const WorkFormDesign& design) {
  surfaces_.LoadWorkSurfaces({Up(design.WorkScr), Up(design.CleanScreen)});
}

void ScaledStage::ResizeSurface(SurfaceId surface, Extent size) {
  surfaces_.ResizeSurface(surface, Up(size));
}

void ScaledStage::BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width,
                         int32_t height, SurfaceId source, int32_t source_x, int32_t source_y,
                         RasterOp op) {
  surfaces_.BitBlt(destination, Up(x), Up(y), Up(width), Up(height), source, Up(source_x),
                   Up(source_y), op);
}

// Rounded down, as a system that scales for a program unaware of the DPI would: a pixel of the
// core is whole on the screen or not shown.
Extent ScaledStage::Down(Extent size) const {
  return {size.width / scale_, size.height / scale_};
}

float ScaledStage::Down(float position) const {
  return scale_ == 1 ? position : std::floor(position / static_cast<float>(scale_));
}

void ScaledStage::KeyDown(int16_t key_code, int16_t shift) { events_->KeyDown(key_code, shift); }

void ScaledStage::MouseDown(int16_t button, int16_t shift, float x, float y) {
  events_->MouseDown(button, shift, Down(x), Down(y));
}

void ScaledStage::MouseMove(int16_t button, int16_t shift, float x, float y) {
  events_->MouseMove(button, shift, Down(x), Down(y));
}

void ScaledStage::CloseRequested(int16_t reason) { events_->CloseRequested(reason); }

void ScaledStage::PointerPlaced(float x, float y) { events_->PointerPlaced(Down(x), Down(y)); }

}  // namespace fq
