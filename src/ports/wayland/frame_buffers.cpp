#include "frame_buffers.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/fault.h"
#include "listener_guard.h"

namespace fq::wayland {
namespace {

// Where compositors keep up, two buffers take turns; a third covers one that holds a buffer
// a frame longer. Beyond that the frame waits for a release.
constexpr size_t kMostBuffers = 3;
// Past this many rectangles a buffer's missed frames count as the whole frame.
constexpr size_t kMostMissed = 64;
// A pool's size is a 32-bit number: a larger frame cannot be shared with the compositor.
constexpr int64_t kMostFrameBytes = INT32_MAX;

}  // namespace

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
  if (int64_t{size.width} * size.height * 4 > kMostFrameBytes) {
    throw Fault(FaultKind::PlatformFailure,
                "The compositor asks for a frame of " + std::to_string(size.width) + " by " +
                    std::to_string(size.height) + " pixels, more than shared memory can pass.");
  }
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
      .release = Guarded<[](void* data, wl_buffer*) { static_cast<Buffer*>(data)->busy = false; }>};
  wl_buffer_add_listener(made->buffer, &kListener, made.get());
  // A buffer made after the first frame has missed all of it.
  if (shown_) made->missed.push_back({0, 0, size_.width, size_.height});
  buffers_.push_back(std::move(made));
  return *buffers_.back();
}

FrameBuffers::Buffer& FrameBuffers::Released() {
  for (;;) {
    Dispatched(wl_display_dispatch_queue_pending(&display_, queue_));
    for (const auto& buffer : buffers_) {
      if (!buffer->busy && buffer.get() != shown_) return *buffer;
    }
    if (buffers_.size() < kMostBuffers) return Made();
    for (const auto& buffer : buffers_) {
      if (!buffer->busy) return *buffer;
    }
    Dispatched(wl_display_dispatch_queue(&display_, queue_));
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
