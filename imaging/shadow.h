// Darkening a picture where a light image brings no light: the shadow of Light!.
#pragma once

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

// Over rect of image (four channels), each colour channel c becomes
// max(0, c - trunc((full - l) x strength)), l being the light's same channel (a four-channel
// image of image's size and depth), so that the darkening is strongest where no light falls.
// Alpha is not changed; a strength of 0 or less changes nothing. Throws std::invalid_argument
// for other layouts.
void darkenUnlit(Image& image, const Image& light, const PixelRect& rect, double strength);
