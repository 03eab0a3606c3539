// Process and system services: the command line and the end of the process, other copies of
// the program, the user's environment and locale, and the system's screen-saver services.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fq {

class SystemServices {
 public:
  virtual ~SystemServices() = default;

  // The command line less the program's own path and the blanks after it: the switch and
  // whatever follows it, exactly as given.
  virtual std::string ArgumentText() = 0;
  // Ends the process at once: no window handler runs afterwards and nothing else is saved.
  [[noreturn]] virtual void EndProcessNow() = 0;
  // True exactly when another process of this program, in any mode and under any file name,
  // was running when this one started.
  virtual bool PreviousInstanceRunning() = 0;
  // The value of an environment variable; empty text when it is not set.
  virtual std::string EnvironmentVariable(std::string_view name) = 0;
  // The user's locale decimal separator, one character.
  virtual char DecimalSeparator() = 0;

  // True when a top-level window of any program has exactly this title. A search that fails
  // counts as finding none.
  virtual bool TopLevelWindowExists(std::string_view title) = 0;
  // Opens the system's dialog for changing the screen-saver password, owned by the window
  // whose handle is `parent_window`, and returns when it closes. Neither its outcome nor the
  // service's absence is reported.
  virtual void ChangeScreenSaverPassword(int32_t parent_window) = 0;
  // Asks the user for the screen-saver password in a dialog owned by the saver window and
  // returns the service's verdict (only its low 16 bits count: 0 refused, anything else
  // accepted), or nothing where the system has no such service.
  virtual std::optional<int32_t> VerifyScreenSaverPassword() = 0;
  // Tells the system that the screen saver no longer runs.
  virtual void ClearScreenSaverRunning() = 0;
};

}  // namespace fq
