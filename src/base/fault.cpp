#include "base/fault.h"

namespace fq {
namespace {

const char* KindName(FaultKind kind) {
  switch (kind) {
    case FaultKind::TypeMismatch: return "Type mismatch";
    case FaultKind::Overflow: return "Overflow";
    case FaultKind::PlatformFailure: return "System error";
  }
  return "Error";
}

}  // namespace

Fault::Fault(FaultKind kind, const std::string& detail)
    : kind_(kind), text_(std::string(KindName(kind)) + ": " + detail) {}

std::string FaultBoxText(const Fault& fault) {
  const std::string what = fault.what();
  const std::string kind = KindName(fault.kind());
  return kind + "\n\n" + what.substr(kind.size() + 2);
}

}  // namespace fq
