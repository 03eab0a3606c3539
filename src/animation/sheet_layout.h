// Where the frames and masks lie on the sprite sheet. The picture generator
// draws to these numbers and the frame step reads by them, so they live once.
#pragma once

namespace fq {

// The sheet: a row of frames above a row of masks, in square cells.
inline constexpr int kSheetWidth = 510;   // the last cell is 2 pixels short
inline constexpr int kSheetHeight = 256;
inline constexpr int kSheetCell = 128;    // cell width and height
inline constexpr int kSheetFrames = 4;    // frame k sits in cell column k
inline constexpr int kSheetMaskRowY = kSheetCell;  // mask k lies one cell below frame k

// Only this top-left square of a cell is ever copied; 3 * 128 + 118 stays
// inside the 510-pixel sheet.
inline constexpr int kSheetDrawnBlock = 118;

// Palette indices the sheet reserves: 0 is the transparent black around a
// frame and a mask's silhouette, 255 a mask's white.
inline constexpr int kSheetBlackIndex = 0;
inline constexpr int kSheetWhiteIndex = 255;

}  // namespace fq
