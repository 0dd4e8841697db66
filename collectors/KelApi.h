// Export control for the collector classes, which the module exports so that
// a MinGW-built program can take the inventory without COM.
#pragma once

#if defined(_WIN32) && defined(KEL_BUILDING_MODULE)
#define KEL_API __declspec(dllexport)
#elif defined(_WIN32) && defined(KEL_USING_MODULE)
#define KEL_API __declspec(dllimport)
#else
#define KEL_API
#endif
