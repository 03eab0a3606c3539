// Faults the platform or the core raises. Nothing in the program traps them:
// the process entry shows the error box and exits non-zero.
#pragma once

#include <stdexcept>
#include <string>

namespace fq {

enum class FaultKind { TypeMismatch, Overflow, PlatformFailure };

class Fault : public std::runtime_error {
 public:
  Fault(FaultKind kind, const std::string& detail);
  FaultKind kind() const { return kind_; }

 private:
  FaultKind kind_;
};

// The text of the error box for a fault: its kind on the first line, the detail below.
std::string FaultBoxText(const Fault& fault);

// The exit code of a process that stopped on a fault.
inline constexpr int kFaultExitCode = 3;

}  // namespace fq
