// One dispatch from an image's sample size to an operation written once as a template over
// the sample type:
//
//   withSampleType(image, [&]<class Sample>() { filter<Sample>(image, rect); });
//
// calls the body with Sample = uint16_t for 16-bit images and uint8_t otherwise, and returns
// what the body returns.
#pragma once

#include <cstdint>
#include <utility>

#include "imaging/image.h"

template <class Body>
decltype(auto) withSampleType(bool is16, Body&& body) {
    if (is16) return std::forward<Body>(body).template operator()<uint16_t>();
    return std::forward<Body>(body).template operator()<uint8_t>();
}

template <class Body>
decltype(auto) withSampleType(const Image& image, Body&& body) {
    return withSampleType(image.is16(), std::forward<Body>(body));
}
