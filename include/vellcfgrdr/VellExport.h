/*
 * VELL_API marks what the library exports. The library is built with hidden
 * visibility, so that only the C interface and the public C++ classes are
 * part of its binary interface; its internals can change without breaking
 * the programs linked against it. Plain C89, included by the C header.
 */
#ifndef VELLCFGRDR_VELLEXPORT_H
#define VELLCFGRDR_VELLEXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define VELL_API __attribute__((visibility("default")))
#else
#define VELL_API
#endif

#endif /* VELLCFGRDR_VELLEXPORT_H */
