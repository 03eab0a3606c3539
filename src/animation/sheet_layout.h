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

// Every non-black frame pixel lies within these cell coordinates (inclusive).
// The black margin above and to the left is what keeps a sprite that moves by
// up to 31 right and 32 down per frame from leaving a trail.
inline constexpr int kSpriteLeft = 31;
inline constexpr int kSpriteRight = 94;
inline constexpr int kSpriteTop = 32;
inline constexpr int kSpriteBottom = 95;

// Palette indices the sheet reserves: 0 is the transparent black around a
// frame and a mask's silhouette, 255 a mask's white.
inline constexpr int kSheetBlackIndex = 0;
inline constexpr int kSheetWhiteIndex = 255;

}  // namespace fq
