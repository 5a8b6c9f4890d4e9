/* What newlib's fdlibm.h asks of the machine, for x86-64 Windows: little-endian IEEE doubles and the 32-bit word types. */
#ifndef MIRABO_NEWLIB_MACHINE_IEEEFP_H
#define MIRABO_NEWLIB_MACHINE_IEEEFP_H

#include <stdint.h>

#define __IEEE_LITTLE_ENDIAN

typedef int32_t __int32_t;
typedef uint32_t __uint32_t;

#endif
