// A stand-in reader SDK library for the binding tests. Every function answers KX_LIBRARY_ID, so
// a test can tell which library a bound function came from. KX_FAMILY_RF, KX_FAMILY_QZ or
// KX_FAMILY_DC picks the functions; KX_WITHOUT_VALUE_OPERATIONS leaves out decrement,
// increment and halt.

#include <cstdint>

#include "card/ReaderSdk.h"

#ifdef _WIN32
#define KX_EXPORT extern "C" __declspec(dllexport)
#else
#define KX_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#define KX_STAND_IN(result, name, ...)               \
    KX_EXPORT result KX_SDK_CALL name(__VA_ARGS__) { \
        return KX_LIBRARY_ID;                        \
    }

#if defined(KX_FAMILY_QZ)
KX_STAND_IN(int16_t, qz_beep, int32_t, uint16_t)
KX_STAND_IN(int16_t, qz_exit, int32_t)
#elif defined(KX_FAMILY_RF)
KX_STAND_IN(int16_t, rf_init, int16_t, int32_t)
KX_STAND_IN(int16_t, rf_beep, int32_t, uint16_t)
KX_STAND_IN(int16_t, rf_request, int32_t, uint8_t, uint16_t*)
KX_STAND_IN(int16_t, rf_anticoll, int32_t, uint8_t, uint32_t*)
KX_STAND_IN(int16_t, rf_select, int32_t, uint32_t, uint16_t*)
KX_STAND_IN(int16_t, rf_load_key, int32_t, uint8_t, uint8_t, const uint8_t*)
KX_STAND_IN(int16_t, rf_authentication, int32_t, uint8_t, uint8_t)
KX_STAND_IN(int16_t, rf_read, int32_t, uint8_t, uint8_t*)
KX_STAND_IN(int16_t, rf_readval, int32_t, uint8_t, uint32_t*)
KX_STAND_IN(int16_t, rf_decrement, int32_t, uint8_t, uint32_t)
KX_STAND_IN(int16_t, rf_increment, int32_t, uint8_t, uint32_t)
KX_STAND_IN(int16_t, rf_halt, int32_t)
KX_STAND_IN(int16_t, rf_exit, int32_t)
#elif defined(KX_FAMILY_DC)
KX_STAND_IN(int32_t, dc_init, int16_t, int32_t)
KX_STAND_IN(int16_t, dc_beep, int32_t, uint16_t)
KX_STAND_IN(int16_t, dc_card, int32_t, uint8_t, uint32_t*)
KX_STAND_IN(int16_t, dc_load_key, int32_t, uint8_t, uint8_t, const uint8_t*)
KX_STAND_IN(int16_t, dc_authentication, int32_t, uint8_t, uint8_t)
KX_STAND_IN(int16_t, dc_read, int32_t, uint8_t, uint8_t*)
KX_STAND_IN(int16_t, dc_readval, int32_t, uint8_t, uint32_t*)
#ifndef KX_WITHOUT_VALUE_OPERATIONS
KX_STAND_IN(int16_t, dc_decrement, int32_t, uint8_t, uint32_t)
KX_STAND_IN(int16_t, dc_increment, int32_t, uint8_t, uint32_t)
KX_STAND_IN(int16_t, dc_halt, int32_t)
#endif
KX_STAND_IN(int16_t, dc_exit, int32_t)
#endif
