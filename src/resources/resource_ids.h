/* Names of the program's resources, shared by the resource scripts and the
   code that loads them (plain defines, so that windres can read them too). */
#ifndef FQ_RESOURCES_RESOURCE_IDS_H
#define FQ_RESOURCES_RESOURCE_IDS_H

#define kIconGroupId 1
#define kIconLargeId 30001
#define kIconSmallId 30002
#define kSpriteSheetId 101
#define kLogoId 102

#endif
