#pragma once
// The terminals' font "宋体", resolved to the Song-style CJK face installed here
// (fonts-arphic-uming) for Chinese and Latin text alike.

#include <QFont>

namespace kx {

inline constexpr int kDefaultFontPixels = 13;

// "宋体" at the given pixel size. The first call maps "宋体" (and its Latin name) to the
// installed Song-style faces.
QFont SongFont(int pixelSize = kDefaultFontPixels);

// Makes SongFont() the application font, for message boxes too.
void InstallSongFont();

}  // namespace kx
