// What crosses the boundary between a host and the two shared libraries: exceptions thrown inside
// them caught by every class of the family, const operations from threads the host starts, and on
// Windows the DLLs' names and the version-information block.
#include "TestSupport.h"

#include <atomic>
#include <thread>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

using namespace orvtest;

TEST(LibraryBoundary, ExceptionsCaughtByEveryClassOfTheFamily) {
    const auto refuse = [] { orv::RotationAxis(D3(), D3(0, 0, 1), 0.0, D3()); };
    int caught = 0;
    try {
        refuse();
    } catch (const orv::Error& e) {
        caught += dynamic_cast<const orv::data::invalid*>(&e) != nullptr;
        EXPECT_EQ(e.describe(), "RotationAxis::set: Rotation Angle must be greater than zero.");
    }
    try {
        refuse();
    } catch (const orv::data::error& e) {
        caught += e.getErrorType() == orv::errorTypeError;
    }
    try {
        orv::KernelInterfaceBase::instance(); // may be registered by another test: then no throw
        ++caught;
    } catch (const orv::internal::error& e) {
        caught += e.getOperationLabel() == "instance";
    }
    EXPECT_EQ(caught, 3);
}

// Const operations on one shared axis from several threads give the bits of the main thread.
TEST(LibraryBoundary, ConstOperationsFromHostThreads) {
    const orv::RotationAxis axis(D3(1, 2, 3), D3(0.3, 0.2, 1), 72.0, D3(0, 1, 0));
    std::vector<D3> pts;
    for (int i = 0; i < 5000; ++i) {
        pts.emplace_back(std::sin(i * 0.37) * 9, std::cos(i * 0.71) * 9, i * 0.01);
    }
    std::vector<orv::DART> expected;
    axis.convertART(pts, expected);
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            std::vector<orv::DART> got;
            axis.convertART(pts, got);
            for (std::size_t i = 0; i < got.size(); ++i) {
                mismatches += !recordEq(got[i], expected[i]);
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    EXPECT_EQ(mismatches.load(), 0);
}

#ifdef _WIN32

// The geometry library is its own DLL beside the program, and its version-information block
// carries the project version (read through the system's version API).
TEST(WindowsDll, VersionBlockOfTheGeometryLibrary) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&orv::narrowToFloat), &module);
    ASSERT_TRUE(module != nullptr && module != GetModuleHandleW(nullptr));
    wchar_t path[32768];
    const DWORD n = GetModuleFileNameW(module, path, 32768);
    const std::wstring file(path, n);
    EXPECT_EQ(file.substr(file.find_last_of(L"\\/") + 1), L"libORVRWGeometryTools.dll");
    DWORD ignored = 0;
    std::vector<unsigned char> data(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_TRUE(!data.empty() && GetFileVersionInfoW(path, 0, DWORD(data.size()), data.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const DWORD ms = (DWORD(ORV_VERSION_MAJOR) << 16) | DWORD(ORV_VERSION_MINOR);
    EXPECT_TRUE(fixed->dwSignature == 0xFEEF04BDu && fixed->dwFileVersionMS == ms &&
                fixed->dwFileVersionLS == DWORD(ORV_VERSION_PATCH) << 16 &&
                fixed->dwProductVersionMS == ms && fixed->dwFileType == DWORD(VFT_DLL));
    const std::string version = ORV_VERSION_STRING;
    for (const wchar_t* key : {L"FileVersion", L"ProductVersion"}) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        ASSERT_TRUE(VerQueryValueW(data.data(), query.c_str(), &value, &length));
        EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)),
                  std::wstring(version.begin(), version.end()));
    }
}

#endif
