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
// The same with a 512-bit version first, for the loops that keep enough
// independent sums to fill the wider registers. The AVX-512 instruction set
// holds fused multiply-adds, so a file using this turns contraction off.
#define BRVL_WIDE_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define BRVL_VECTOR_CLONES
#define BRVL_WIDE_VECTOR_CLONES
#endif
