// Faults the platform or the core raises. Nothing in the program traps them:
// the process entry shows the error box and exits non-zero.
#pragma once

#include <exception>
#include <string>

namespace fq {

enum class FaultKind { TypeMismatch, Overflow, PlatformFailure };

// On std::exception itself rather than std::runtime_error: the latter's string would bring
// the runtime's second, reference-counted string implementation into the program.
class Fault : public std::exception {
 public:
  Fault(FaultKind kind, const std::string& detail);
  FaultKind kind() const { return kind_; }
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  FaultKind kind_;
  std::string text_;
};

// The text of the error box for a fault: its kind on the first line, the detail below.
std::string FaultBoxText(const Fault& fault);

// The exit code of a process that stopped on a fault.
inline constexpr int kFaultExitCode = 3;

}  // namespace fq
