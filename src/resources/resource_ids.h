/* Names of the program's resources, shared by the resource scripts and the
   code that loads them (plain defines, so that windres can read them too).
   The sheet drawn at 1x is a BITMAP resource; the logo and the sheets drawn
   for dense screens are RCDATA holding a BMP file in a zlib stream. */
#ifndef FQ_RESOURCES_RESOURCE_IDS_H
#define FQ_RESOURCES_RESOURCE_IDS_H

#define kIconGroupId 1
#define kIconLargeId 30001
#define kIconSmallId 30002
#define kIconMediumId 30003
#define kIconHugeId 30004
#define kSpriteSheetId 101
#define kLogoId 102
#define kSpriteSheet2xId 201
#define kLogo2xId 202
#define kSpriteSheet3xId 301
#define kLogo3xId 302

#ifndef RC_INVOKED
/* The picture drawn for `scale`, 1 to kMaxScale (platform/screen_scale.h). */
constexpr int SpriteSheetId(int scale) {
  return scale == 3 ? kSpriteSheet3xId : scale == 2 ? kSpriteSheet2xId : kSpriteSheetId;
}
constexpr int LogoId(int scale) {
  return scale == 3 ? kLogo3xId : scale == 2 ? kLogo2xId : kLogoId;
}
#endif

#endif
