#pragma once
// The terminals' font "宋体", resolved to the Song-style CJK face installed here
// (fonts-arphic-uming) for Chinese and Latin text alike.

#include <QFont>
#include <filesystem>

namespace kx {

inline constexpr int kDefaultFontPixels = 13;

// The cut of the Song face with only the characters of the terminals' own texts, built beside
// the programs. Shown first, it spares mapping the 20 MB collection at every start.
inline constexpr const char* kSongSubsetName = "uming-subset.ttf";

// "宋体" at the given pixel size. The first call maps "宋体" (and its Latin name) to the
// installed Song-style faces.
QFont SongFont(int pixelSize = kDefaultFontPixels);

// Loads folder/"uming-subset.ttf" and puts it before the full faces for "宋体"; a character it
// lacks (a member's name) still comes from the full face. Call it before any text is drawn.
// False, with the full faces kept alone, when the file is missing or unreadable.
bool UseSongSubsetIn(const std::filesystem::path& folder);

// Makes SongFont() the application font, for message boxes too, with the subset beside the
// program when there is one.
void InstallSongFont();

}  // namespace kx
