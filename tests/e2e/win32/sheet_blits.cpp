// fq_sheet_blits.exe SCALE: the sprite sheet drawn for SCALE as the Win32 platform keeps it
// (frames in the screen's format, masks in monochrome) gives, blit for blit, the pixels of the
// whole sheet in one 32-bit bitmap: masks and frames stamped over each other and over colour,
// blocks across the line between frames and masks, and past the sheet's edges. Prints how
// many pixels differ; test_dense_screen.py runs it under Wine.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "animation/sheet_layout.h"
#include "win32_platform.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A 32-bit DIB section of `width` by `height` in a device context of its own.
struct Dib {
  Dib(int width, int height) : dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(dc, bitmap);
  }
  HDC dc;
  HBITMAP bitmap;
  void* bits = nullptr;
};

struct Blit {
  int x, y, width, height, source_x, source_y;
  DWORD op;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace fq;
  const int k = argc == 2 ? std::atoi(argv[1]) : 0;
  if (k < 1 || k > 3) {
    std::fprintf(stderr, "usage: %s SCALE (1 to 3)\n", argv[0]);
    return 2;
  }
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  win32::Win32Platform platform(instance, k);
  platform.LoadWorkSurfaces({{kWidth, kHeight}, {kWidth, kHeight}});
  const HDC work = platform.DeviceContext(SurfaceId::WorkScr);

  const HBITMAP picture = win32::LoadSpriteSheet(instance, k);
  BITMAP sheet_size{};
  GetObjectW(picture, sizeof sheet_size, &sheet_size);
  Dib sheet(sheet_size.bmWidth, sheet_size.bmHeight);
  const HDC picture_dc = CreateCompatibleDC(nullptr);
  SelectObject(picture_dc, picture);
  ::BitBlt(sheet.dc, 0, 0, sheet_size.bmWidth, sheet_size.bmHeight, picture_dc, 0, 0, SRCCOPY);
  Dib expected(kWidth, kHeight);

  // Grey under everything, so that a mask's white and black both show.
  const HBRUSH grey = CreateSolidBrush(RGB(90, 140, 200));
  for (HDC target : {work, expected.dc}) {
    SelectObject(target, grey);
    PatBlt(target, 0, 0, kWidth, kHeight, PATCOPY);
  }
  const int cell = kSheetCell * k, block = kSheetDrawnBlock * k, masks = kSheetMaskRowY * k;
  std::vector<Blit> blits;
  for (int frame = 0; frame < kSheetFrames; ++frame) {  // overlapping sprites
    const int x = 60 * frame * k, y = 40 * frame * k;
    blits.push_back({x, y, block, block, frame * cell, masks, SRCAND});
    blits.push_back({x, y, block, block, frame * cell, 0, SRCPAINT});
  }
  for (DWORD op : {SRCCOPY, SRCAND, SRCPAINT}) {  // across the line, and past the edges
    blits.push_back({400, 10, block, block, cell, masks - block / 2, op});
    blits.push_back({500, 300, block, block, sheet_size.bmWidth - block / 3,
                     sheet_size.bmHeight - block / 4, op});
    blits.push_back({300, 400, block, block, -block / 5, -block / 3, op});
  }
  for (const Blit& blit : blits) {
    platform.BitBlt(SurfaceId::WorkScr, blit.x, blit.y, blit.width, blit.height,
                    SurfaceId::Master, blit.source_x, blit.source_y,
                    static_cast<RasterOp>(blit.op));
    ::BitBlt(expected.dc, blit.x, blit.y, blit.width, blit.height, sheet.dc, blit.source_x,
             blit.source_y, blit.op);
  }

  Dib drawn(kWidth, kHeight);
  ::BitBlt(drawn.dc, 0, 0, kWidth, kHeight, work, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* got = static_cast<const uint32_t*>(drawn.bits);
  const auto* want = static_cast<const uint32_t*>(expected.bits);
  int differ = 0;
  for (int i = 0; i < kWidth * kHeight; ++i) differ += (got[i] & 0xFFFFFF) != (want[i] & 0xFFFFFF);
  std::printf("%d\n", differ);
  return 0;
}
