// GoogleTest built by the product's toolchain, whose runtime (Win32 threads) has no std::mutex
// for GoogleTest's Notification. The unit tests start no thread, so it has nothing to wait for.
#pragma once

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  void Notify() {}
  void WaitForNotification() {}
};

}  // namespace testing::internal
