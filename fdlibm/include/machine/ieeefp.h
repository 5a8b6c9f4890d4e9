/* What fdlibm.h takes from newlib's own headers: the byte order and its 32-bit integer names. */
#pragma once
#include <stdint.h>
#define __IEEE_LITTLE_ENDIAN
typedef int32_t __int32_t;
typedef uint32_t __uint32_t;
