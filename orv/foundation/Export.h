#ifndef ORV_FOUNDATION_EXPORT_H
#define ORV_FOUNDATION_EXPORT_H

// ORV_API marks the classes and functions that libORVRWGeometryTools exports. The library is built
// with hidden visibility; the build defines ORVRWGEOMETRYTOOLS_BUILDING privately, so hosts get the
// importing form without doing anything.
#if defined(_WIN32)
#if defined(ORVRWGEOMETRYTOOLS_BUILDING)
#define ORV_API __declspec(dllexport)
#else
#define ORV_API __declspec(dllimport)
#endif
#else
#define ORV_API __attribute__((visibility("default")))
#endif

#endif
