#pragma once
// The terminals' font "宋体", resolved to the Song-style CJK face installed here
// (fonts-arphic-uming) for Chinese and Latin text alike.

#include <QFont>

namespace kx {

inline constexpr int kDefaultFontPixels = 13;

// Maps "宋体" (and its Latin name) to the installed Song-style faces and makes "宋体" at 13 px
// the application font. Call once, after the application object exists.
void InstallSongFont();

QFont SongFont(int pixelSize = kDefaultFontPixels);

}  // namespace kx
