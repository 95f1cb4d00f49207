#ifndef ORV_PLATFORM_PLATFORMEXPORT_H
#define ORV_PLATFORM_PLATFORMEXPORT_H

// ORV_PLATFORM_API marks what the platform library (messages, exceptions, matrices, coordinate
// transform and curve stores) exports. Like the geometry library it is built with hidden visibility
// and defines ORVPLATFORM_BUILDING privately.
#if defined(_WIN32)
#if defined(ORVPLATFORM_BUILDING)
#define ORV_PLATFORM_API __declspec(dllexport)
#else
#define ORV_PLATFORM_API __declspec(dllimport)
#endif
#else
#define ORV_PLATFORM_API __attribute__((visibility("default")))
#endif

#endif
