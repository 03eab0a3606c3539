// The pixels of one output: plain raster operations on 0x00RRGGBB memory, and the shared-memory
// buffers the compositor shows. A frame is drawn into a buffer the compositor has released,
// first brought up to date with what the frames it missed changed; only the changed cells are
// copied and announced as damage. Buffers are made when the size changes, never per frame: two
// suffice while the compositor releases one before the next frame, a third when it does not.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/saver_window.h"
#include "platform/work_surfaces.h"

struct wl_buffer;
struct wl_display;
struct wl_event_queue;
struct wl_shm;
struct wl_surface;

namespace fq::wayland {

// Rows of `width` pixels one after the other.
struct PixelView {
  uint32_t* data = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

// Combines the block at (source_x, source_y) of `source` into `destination` at (x, y) with
// `op`; what falls outside either is dropped, as a block transfer clips.
void Blit(PixelView destination, int32_t x, int32_t y, int32_t width, int32_t height,
          PixelView source, int32_t source_x, int32_t source_y, RasterOp op);
// Black over `rect`, clipped to `destination`.
void FillBlack(PixelView destination, PixelRect rect);

class FrameBuffers {
 public:
  FrameBuffers(wl_display& display, wl_shm& shm);
  FrameBuffers(const FrameBuffers&) = delete;
  FrameBuffers& operator=(const FrameBuffers&) = delete;
  ~FrameBuffers();

  // Drops every buffer and starts a black frame of `size`, shown whole at the next Present;
  // an empty size keeps none.
  void Resize(Extent size);
  Extent size() const { return size_; }
  // The frame being drawn, up to date with every frame before it. May wait for the compositor
  // to release a buffer, handling no event but that.
  PixelView Drawing();
  // The part of the frame that changed.
  void Damage(PixelRect rect);
  // Attaches the frame to `surface` with its damage and commits, when anything changed.
  void Present(wl_surface& surface);
  size_t buffer_count() const { return buffers_.size(); }

 private:
  struct Buffer;
  Buffer& Released();
  Buffer& Made();

  wl_display& display_;
  wl_shm& shm_;
  // Buffer releases are handled here alone, apart from the input's events.
  wl_event_queue* queue_;
  Extent size_{};
  std::vector<std::unique_ptr<Buffer>> buffers_;
  Buffer* drawing_ = nullptr;
  Buffer* shown_ = nullptr;
  std::vector<PixelRect> damage_;
};

}  // namespace fq::wayland
