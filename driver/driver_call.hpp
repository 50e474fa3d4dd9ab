// The driver's calling convention: standard Windows calls (the entry point
// removes its arguments), each argument one 32-bit value.
#pragma once

#if defined(_WIN32)
#define KORVANE16_DRIVER_CALL __stdcall
#else
#define KORVANE16_DRIVER_CALL
#endif
