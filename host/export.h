// Marks a function exported from the plug-in file with C linkage.
#pragma once

#ifdef _WIN32
#define RAVO_EXPORT extern "C" __declspec(dllexport)
#else
#define RAVO_EXPORT extern "C" __attribute__((visibility("default")))
#endif
