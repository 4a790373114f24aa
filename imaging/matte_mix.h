// Two pictures mixed through a one-channel matte.
#pragma once

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

// Over rect: destination = p where the matte is full and q where it is 0 (all four channels),
// otherwise each colour channel (q x (full - m) + p x m) / full and p's alpha. p, q and
// destination are RGBA of one depth, the matte one channel of it; destination may be p or q.
// Throws std::invalid_argument for other layouts.
void mixByMatte(const Image& p, const Image& q, Image& destination, const PixelRect& rect, const Image& matte);
