// A flock on every monitor beyond the primary, set up and moved by the primary's rules over
// that monitor's own size. Each draws from a generator of its own, seeded apart, so that
// nothing on the other monitors changes a number on the primary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "animation/flock.h"
#include "animation/random_source.h"
#include "platform/other_monitors.h"
#include "platform/pacing.h"

namespace fq {

class MonitorFlocks {
 public:
  MonitorFlocks(OtherMonitors& monitors, Pacing& pacing, const Settings& settings)
      : monitors_(monitors), pacing_(pacing), settings_(settings) {}

  // When the monitors may have changed: a monitor that keeps its area and scale keeps its
  // flock, a new or changed one gets a flock set up afresh, and the flock of one that went is
  // dropped with it.
  void Follow();
  void FrameStep();

  size_t size() const { return flocks_.size(); }
  const Flock& operator[](size_t index) const { return flocks_[index]->flock; }
  const MonitorArea& monitor(size_t index) const { return flocks_[index]->monitor; }

 private:
  struct OnMonitor {
    OnMonitor(const MonitorArea& area, WorkSurfaces& surfaces, const Settings& settings)
        : monitor(area), flock(surfaces, settings, random) {}
    const MonitorArea monitor;
    LcgRandom random;
    Flock flock;
  };
  std::unique_ptr<OnMonitor> SetUpOn(const MonitorArea& monitor, WorkSurfaces& surfaces);

  OtherMonitors& monitors_;
  Pacing& pacing_;
  const Settings& settings_;
  std::vector<std::unique_ptr<OnMonitor>> flocks_;
  // Each new flock's generator takes the next stream: flocks set up in the same instant differ.
  uint32_t streams_ = 0;
};

}  // namespace fq
