// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A hot loop built for the widest vectors the processor has, chosen when the
// program starts (GCC on x86-64; elsewhere built once, as usual).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define KVISTRA_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define KVISTRA_VECTOR_CLONES
#endif
