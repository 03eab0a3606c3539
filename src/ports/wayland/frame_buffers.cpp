#include "frame_buffers.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstring>

#include "platform/fault.h"

namespace fq::wayland {
namespace {

// Where compositors keep up, two buffers take turns; a third covers one that holds a buffer
// a frame longer. Beyond that the frame waits for a release.
constexpr size_t kMostBuffers = 3;
// Past this many rectangles a buffer's missed frames count as the whole frame.
constexpr size_t kMostMissed = 64;

// The part of the block inside both surfaces, with where it starts in each.
struct Clipped {
  int32_t x, y, source_x, source_y, width, height;
};

Clipped Clip(PixelView destination, int32_t x, int32_t y, int32_t width, int32_t height,
             PixelView source, int32_t source_x, int32_t source_y) {
  const int32_t left = std::max({0, -x, -source_x});
  const int32_t top = std::max({0, -y, -source_y});
  const int32_t right = std::min({width, destination.width - x, source.width - source_x});
  const int32_t bottom = std::min({height, destination.height - y, source.height - source_y});
  return {x + left, y + top, source_x + left, source_y + top, right - left, bottom - top};
}

}  // namespace

void Blit(PixelView destination, int32_t x, int32_t y, int32_t width, int32_t height,
          PixelView source, int32_t source_x, int32_t source_y, RasterOp op) {
  const Clipped c = Clip(destination, x, y, width, height, source, source_x, source_y);
  if (c.width <= 0 || c.height <= 0) return;
  for (int32_t row = 0; row < c.height; ++row) {
    uint32_t* d = destination.data + static_cast<size_t>(c.y + row) * destination.width + c.x;
    const uint32_t* s = source.data + static_cast<size_t>(c.source_y + row) * source.width +
                        c.source_x;
    switch (op) {
      case RasterOp::SrcCopy: std::memmove(d, s, sizeof(uint32_t) * c.width); break;
      case RasterOp::SrcAnd: for (int32_t i = 0; i < c.width; ++i) d[i] &= s[i]; break;
      case RasterOp::SrcPaint: for (int32_t i = 0; i < c.width; ++i) d[i] |= s[i]; break;
    }
  }
}

void FillBlack(PixelView destination, PixelRect rect) {
  const Clipped c = Clip(destination, rect.left, rect.top, rect.width, rect.height, destination,
                         rect.left, rect.top);
  for (int32_t row = 0; row < c.height; ++row) {
    std::memset(destination.data + static_cast<size_t>(c.y + row) * destination.width + c.x, 0,
                sizeof(uint32_t) * std::max(c.width, 0));
  }
}

struct FrameBuffers::Buffer {
  wl_buffer* buffer = nullptr;
  PixelView pixels;
  size_t bytes = 0;
  bool busy = false;
  // What frames drawn in other buffers changed since this one was last drawn.
  std::vector<PixelRect> missed;

  ~Buffer() {
    if (buffer) wl_buffer_destroy(buffer);
    if (pixels.data) munmap(pixels.data, bytes);
  }
};

FrameBuffers::FrameBuffers(wl_display& display, wl_shm& shm)
    : display_(display), shm_(shm), queue_(wl_display_create_queue(&display)) {}

FrameBuffers::~FrameBuffers() {
  buffers_.clear();
  wl_event_queue_destroy(queue_);
}

void FrameBuffers::Resize(Extent size) {
  buffers_.clear();
  drawing_ = shown_ = nullptr;
  size_ = size;
  if (size.width <= 0 || size.height <= 0) return;
  Drawing();
  Damage({0, 0, size.width, size.height});
}

// Zeroed memory: XRGB black.
FrameBuffers::Buffer& FrameBuffers::Made() {
  auto made = std::make_unique<Buffer>();
  const int32_t stride = size_.width * 4;
  made->bytes = static_cast<size_t>(stride) * size_.height;
  const int fd = memfd_create("flyingquorlin-frame", MFD_CLOEXEC);
  void* memory = MAP_FAILED;
  if (fd >= 0 && ftruncate(fd, static_cast<off_t>(made->bytes)) == 0) {
    memory = mmap(nullptr, made->bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  }
  if (memory == MAP_FAILED) {
    if (fd >= 0) close(fd);
    throw Fault(FaultKind::PlatformFailure, "No shared memory for a frame of the screen.");
  }
  made->pixels = {static_cast<uint32_t*>(memory), size_.width, size_.height};
  wl_shm_pool* pool = wl_shm_create_pool(&shm_, fd, static_cast<int32_t>(made->bytes));
  made->buffer = wl_shm_pool_create_buffer(pool, 0, size_.width, size_.height, stride,
                                           WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);
  close(fd);
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(made->buffer), queue_);
  static constexpr wl_buffer_listener kListener{
      .release = [](void* data, wl_buffer*) { static_cast<Buffer*>(data)->busy = false; }};
  wl_buffer_add_listener(made->buffer, &kListener, made.get());
  // A buffer made after the first frame has missed all of it.
  if (shown_) made->missed.push_back({0, 0, size_.width, size_.height});
  buffers_.push_back(std::move(made));
  return *buffers_.back();
}

FrameBuffers::Buffer& FrameBuffers::Released() {
  for (;;) {
    wl_display_dispatch_queue_pending(&display_, queue_);
    for (const auto& buffer : buffers_) {
      if (!buffer->busy && buffer.get() != shown_) return *buffer;
    }
    if (buffers_.size() < kMostBuffers) return Made();
    for (const auto& buffer : buffers_) {
      if (!buffer->busy) return *buffer;
    }
    if (wl_display_dispatch_queue(&display_, queue_) < 0) {
      throw Fault(FaultKind::PlatformFailure, "The compositor went away.");
    }
  }
}

PixelView FrameBuffers::Drawing() {
  if (!drawing_) {
    drawing_ = &Released();
    if (shown_ && drawing_ != shown_) {
      for (const PixelRect& rect : drawing_->missed) {
        Blit(drawing_->pixels, rect.left, rect.top, rect.width, rect.height, shown_->pixels,
             rect.left, rect.top, RasterOp::SrcCopy);
      }
    }
    drawing_->missed.clear();
  }
  return drawing_->pixels;
}

void FrameBuffers::Damage(PixelRect rect) { damage_.push_back(rect); }

void FrameBuffers::Present(wl_surface& surface) {
  if (!drawing_ || damage_.empty()) return;
  wl_surface_attach(&surface, drawing_->buffer, 0, 0);
  for (const PixelRect& rect : damage_) {
    wl_surface_damage_buffer(&surface, rect.left, rect.top, rect.width, rect.height);
  }
  wl_surface_commit(&surface);
  drawing_->busy = true;
  for (const auto& buffer : buffers_) {
    if (buffer.get() == drawing_) continue;
    auto& missed = buffer->missed;
    missed.insert(missed.end(), damage_.begin(), damage_.end());
    if (missed.size() > kMostMissed) missed = {{0, 0, size_.width, size_.height}};
  }
  shown_ = drawing_;
  drawing_ = nullptr;
  damage_.clear();
}

}  // namespace fq::wayland
