// WorkSurfaces that pass every call on to the surfaces that take them now: a platform's go to
// its primary stage's, a stage's to its own while it is shown. `Port` names them with
// SurfacesNow(), null while none take them, and a call is dropped then. `Roles` is WorkSurfaces,
// or a sum of roles that holds it (platform/platform.h).
#pragma once

#include "platform/work_surfaces.h"

namespace fq {

template <typename Port, typename Roles = WorkSurfaces>
class ForwardedSurfaces : public Roles {
 public:
  void LoadWorkSurfaces(const WorkFormDesign& design) override {
    if (WorkSurfaces* surfaces = Now()) surfaces->LoadWorkSurfaces(design);
  }
  void ResizeSurface(SurfaceId surface, Extent size) override {
    if (WorkSurfaces* surfaces = Now()) surfaces->ResizeSurface(surface, size);
  }
  void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) override {
    if (WorkSurfaces* surfaces = Now()) {
      surfaces->BitBlt(destination, x, y, width, height, source, source_x, source_y, op);
    }
  }
  void UnloadWorkSurfaces() override {
    if (WorkSurfaces* surfaces = Now()) surfaces->UnloadWorkSurfaces();
  }

 private:
  // Not virtual: a port whose surfaces are always there pays nothing for the check.
  WorkSurfaces* Now() { return static_cast<Port*>(this)->SurfacesNow(); }
};

}  // namespace fq
