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

// The platform library's form of ORV_EXTERN_TEMPLATE (orv/foundation/Export.h): after a class
// template, `ORV_PLATFORM_EXTERN_TEMPLATE(Name<float>);` for each instantiation the library makes.
#if defined(_WIN32) && defined(__GNUC__) && !defined(ORVPLATFORM_BUILDING)
#define ORV_PLATFORM_EXTERN_TEMPLATE(...) static_assert(true, "")
#else
#define ORV_PLATFORM_EXTERN_TEMPLATE(...) extern template class ORV_PLATFORM_API __VA_ARGS__
#endif

#endif
