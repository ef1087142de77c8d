#pragma once
// Fixed places in the media tree, relative to the working directory. Each
// ends in a slash so loaders can append a file name.
inline constexpr const char* mediaDir = "media/";
inline constexpr const char* fontDir = "media/fonts/";
inline constexpr const char* audioDir = "media/audio/";
inline constexpr const char* staticGfxDir = "media/gfx/static/";
inline constexpr const char* enemyAnimDir = "media/gfx/anim/enemy/";
inline constexpr const char* playerAnimDir = "media/gfx/anim/player/";
