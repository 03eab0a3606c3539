// Placeholder: the off-screen surfaces land with saver mode.
#include "win32_platform.h"

namespace fq::win32 {

void Win32Platform::LoadWorkSurfaces() {}
bool Win32Platform::WorkSurfacesLoaded() { return false; }
void Win32Platform::ResizeSurface(SurfaceId, Extent) {}
void Win32Platform::BitBlt(SurfaceId, int32_t, int32_t, int32_t, int32_t, SurfaceId, int32_t,
                           int32_t, RasterOp) {}
void Win32Platform::UnloadWorkSurfaces() {}

}  // namespace fq::win32
