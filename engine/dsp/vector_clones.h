#pragma once

// Marks a hot loop to be compiled twice on x86-64, for AVX2 and for the
// baseline, with the processor's choice made once at load time. Only the
// vector width differs, never the arithmetic (no fused multiply-add), so both
// versions give the same numbers. Elsewhere the loop is compiled once.
//
// Under ThreadSanitizer the loop is compiled once as well: the clones' resolver
// runs while the program is loaded, before the sanitizer's runtime is ready,
// and the program would crash at start.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__SANITIZE_THREAD__)
#define BRVL_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define BRVL_VECTOR_CLONES
#endif
