// The reconstruction filters of the resampler: fourteen kernels, each with the distance beyond
// which it is zero and the flags that say how it behaves. Looked up by name.
#pragma once

#include <cstddef>

namespace fx {

struct ScaleFilter {
    const char* name;
    // The kernel k(x); zero for |x| >= support.
    double (*kernel)(double x);
    double support;
    // Widens the kernel beyond its support; 1.0 for every filter.
    double blur;
    bool windowed;
    // k(0) = 1 and k(+-1) = 0: at whole scale factors the filter reproduces its input.
    bool interpolating;
    bool nonNegative;
};

// The filter of this exact name, or null for a name the table does not hold.
const ScaleFilter* findFilter(const char* name);

// Every filter, in table order.
const ScaleFilter* scaleFilters();
size_t scaleFilterCount();

}  // namespace fx
