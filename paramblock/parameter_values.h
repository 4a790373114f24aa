// The compound values a parameter record holds: a colour and a point.
#pragma once

// Red, green and blue as fractions from 0 to 1.
struct RGBValue {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
};

// Fractions of the image size measured from its centre: -0.5 is the left or top edge,
// 0.5 the right or bottom edge. A point may lie outside the picture.
struct PointValue {
    double x = 0.0;
    double y = 0.0;
};
