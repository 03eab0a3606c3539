#include "ports/unix/unix_pacing.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace fq {

void UnixPacing::Pause(int32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

float UnixPacing::SecondsSinceMidnight() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
         static_cast<float>(now.tv_nsec / 1000000) / 1000.0f;
}

}  // namespace fq
