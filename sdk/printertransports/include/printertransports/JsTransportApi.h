/* Export and calling-convention macros of the two printer transport libraries. */
#ifndef JSTRANSPORTAPI_H
#define JSTRANSPORTAPI_H

#include <stdint.h>

#if defined(_WIN32)
#define JS_API /* exported by ordinal through the .def made from the export list */
#else
#define JS_API __attribute__((visibility("default")))
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define JS_CALL __stdcall
#else
#define JS_CALL
#endif

#endif /* JSTRANSPORTAPI_H */
