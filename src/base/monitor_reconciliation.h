// What is kept per monitor (a flock, a cover, a stage's surfaces) following the monitors as
// they come, change and go: a monitor that one of them still fits keeps it, one that none fits
// gets a new one, and those that fit no monitor go. The core and every port follow this rule,
// so it is written once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace fq {

template <typename Held>
class MonitorReconciliation {
 public:
  using List = std::vector<std::unique_ptr<Held>>;

  // Matches each of `monitors` with the first of `held` that `fits(held, monitor)` and that no
  // earlier monitor took. Changes nothing.
  template <typename Monitor, typename Fits>
  MonitorReconciliation(std::vector<std::unique_ptr<Held>>& held,
                        const std::vector<Monitor>& monitors, Fits fits)
      : held_(held), held_count_(held.size()), kept_(monitors.size(), kNew) {
    for (size_t i = 0; i < monitors.size(); ++i) {
      for (size_t j = 0; j < held.size(); ++j) {
        const bool taken = std::find(kept_.begin(), kept_.end(), j) != kept_.end();
        if (!taken && fits(*held[j], monitors[i])) {
          kept_[i] = j;
          ++kept_count_;
          break;
        }
      }
    }
  }

  // How many of `held` fit no monitor.
  size_t going() const { return held_count_ - kept_count_; }
  // True when something comes or goes.
  bool changes() const { return kept_count_ < held_count_ || kept_count_ < kept_.size(); }

  // `make(index)` makes the one for each monitor that none fits, in the monitors' order, all
  // before `held` changes: a failure leaves it as it was. Then `held` lists one for each
  // monitor, in their order, and those that go are returned, in their order in `held`.
  template <typename Make>
  List Apply(Make make) {
    List following(kept_.size());
    for (size_t i = 0; i < kept_.size(); ++i) {
      if (kept_[i] == kNew) following[i] = make(i);
    }
    for (size_t i = 0; i < kept_.size(); ++i) {
      if (kept_[i] != kNew) following[i] = std::move(held_[kept_[i]]);
    }
    std::swap(following, held_);
    std::erase(following, nullptr);
    return following;
  }

 private:
  static constexpr size_t kNew = static_cast<size_t>(-1);

  List& held_;
  const size_t held_count_;
  std::vector<size_t> kept_;  // per monitor, the index in `held` of the one it keeps, or kNew
  size_t kept_count_ = 0;
};

}  // namespace fq
