// <windows.h> in its lean form and without its min and max macros. Include it after every
// other header of a file, so that its macros (GetObject and the like) cannot rename anything
// declared in them.
#pragma once

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
