// Hiding and showing the mouse cursor. The system keeps a display count that other programs
// may have moved too, so each loop calls ShowCursor until the count passes its bound rather
// than calling it once.
#pragma once

namespace fq {

class SaverWindow;

// ShowCursor(FALSE) until the count is -6 or lower; at least one call.
void HideMouseCursor(SaverWindow& window);

// ShowCursor(TRUE) until the count is 6 or higher; at least one call.
void ShowMouseCursor(SaverWindow& window);

}  // namespace fq
