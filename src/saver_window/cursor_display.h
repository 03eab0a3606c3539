// Hiding and showing the mouse pointer. The system keeps a display count that other programs
// may have moved too, so each loop steps the count until it passes its bound rather than
// stepping it once.
#pragma once

namespace fq {

class SaverWindow;

// Lowers the count until it is -6 or lower; at least one step.
void HideMouseCursor(SaverWindow& window);

// Raises the count until it is 6 or higher; at least one step.
void ShowMouseCursor(SaverWindow& window);

}  // namespace fq
