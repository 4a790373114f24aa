// Marks a function whose loops are built for AVX-512, AVX2 and the x86-64 baseline; the loader
// picks the best the processor runs. Only for integer arithmetic and exact conversions, which
// give the same bits on every variant. Elsewhere (other compilers, Windows) the function is
// built once.
#pragma once

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define RAVO_VECTOR_LOOP __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define RAVO_VECTOR_LOOP
#endif
