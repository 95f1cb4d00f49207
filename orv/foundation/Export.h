#ifndef ORV_FOUNDATION_EXPORT_H
#define ORV_FOUNDATION_EXPORT_H

// ORV_API marks the classes and functions that libORVRWGeometryTools exports. The library is built
// with hidden visibility; the build defines ORVRWGEOMETRYTOOLS_BUILDING privately, so hosts get the
// importing form without doing anything.
//
// How to use it (the same rules hold for ORV_PLATFORM_API):
// - A class: `class ORV_API Name`. Its members, static data (such as a singleton's m_instance),
//   type information and virtual table follow the class; nothing is marked member by member.
//   Hosts may derive from exported classes and catch exported exception classes by any base.
// - A free function defined in a .cpp: `ORV_API` on its declaration in the header.
// - Inline functions and templates defined wholly in a header (TripletBase) carry no macro: every
//   module compiles its own copy (a dllimport on an inline function is ignored with a warning).
// - A class template whose members are defined in a .cpp: `template <class T> class ORV_API
//   Name`, then `ORV_EXTERN_TEMPLATE(Name<float>);` in the header and `template class Name<float>;`
//   (no macro) in the .cpp, one line per instantiation.
#if defined(_WIN32)
#if defined(ORVRWGEOMETRYTOOLS_BUILDING)
#define ORV_API __declspec(dllexport)
#else
#define ORV_API __declspec(dllimport)
#endif
#else
#define ORV_API __attribute__((visibility("default")))
#endif

// Declares that the library instantiates a class template for these arguments, after the template
// in its header. MinGW's GCC exports no inline member of such an instantiation and a host told
// about it would compile none either, so a MinGW host gets no declaration: it compiles the inline
// members itself and imports the others. Every other host (and the library) gets
// `extern template class ORV_API Name<...>;`.
#if defined(_WIN32) && defined(__GNUC__) && !defined(ORVRWGEOMETRYTOOLS_BUILDING)
#define ORV_EXTERN_TEMPLATE(...) static_assert(true, "")
#else
#define ORV_EXTERN_TEMPLATE(...) extern template class ORV_API __VA_ARGS__
#endif

// ORV_MICROSOFT_ABI is 1 where the compiler follows the Microsoft C++ ABI (Microsoft's compiler
// and clang-cl, which define _MSC_VER), 0 under the Itanium C++ ABI (GCC, Clang, MinGW-w64). The
// kernel interface's header orders its overload groups by it.
#if defined(_MSC_VER)
#define ORV_MICROSOFT_ABI 1
#else
#define ORV_MICROSOFT_ABI 0
#endif

#endif
