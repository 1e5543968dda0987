#pragma once
// How twips become pixels, for every face: 15 twips to a pixel at 100 %,
// and the zoom levels a user may choose.

namespace rt {

inline constexpr double kTwipsPerPixel = 15.0;

// The zoom levels, in percent.
inline constexpr int kZoomLevels[] = {100, 125, 150, 200, 250, 300, 400};

}  // namespace rt
