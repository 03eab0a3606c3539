// The shared-memory buffers that show one output's pixels. A frame is drawn into a buffer the
// compositor has released, first brought up to date with what the frames it missed changed;
// only the changed cells are copied and announced as damage. Buffers are made when the size changes, never per frame: two
// suffice while the compositor releases one before the next frame, a third when it does not.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pixel_view.h"

struct wl_buffer;
struct wl_display;
struct wl_event_queue;
struct wl_shm;
struct wl_surface;

namespace fq::wayland {

class FrameBuffers final : public Frame {
 public:
  FrameBuffers(wl_display& display, wl_shm& shm);
  FrameBuffers(const FrameBuffers&) = delete;
  FrameBuffers& operator=(const FrameBuffers&) = delete;
  ~FrameBuffers();

  // Drops every buffer and starts a black frame of `size`, shown whole at the next Present;
  // an empty size keeps none.
  // A frame too large for a shared-memory pool is a fault.
  void Resize(Extent size);
  Extent size() const { return size_; }
  // The frame being drawn, up to date with every frame before it. May wait for the compositor
  // to release a buffer, handling no event but that.
  PixelView Drawing() override;
  // The part of the frame that changed.
  void Damage(PixelRect rect) override;
  // Attaches the frame to `surface` with its damage and commits, when anything changed.
  void Present(wl_surface& surface);

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
