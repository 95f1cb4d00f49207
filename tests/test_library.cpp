// What crosses the boundary between a host and the two shared libraries: exceptions thrown inside
// them caught by every class of the family, const operations from threads the host starts, and on
// Windows the DLLs' names and the version-information block.
#include "TestSupport.h"

#include "orv/platform/PointFile.h"

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

namespace {

// The module (DLL) that holds the given function of a library.
HMODULE moduleOf(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &module);
    return module;
}

std::wstring modulePath(HMODULE module) {
    std::vector<wchar_t> buffer(32768);
    const DWORD n = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), n);
}

std::wstring baseName(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

// The version-information block of the file, read through the system's version API.
class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size != 0) {
            m_data.resize(size);
            if (!GetFileVersionInfoW(path.c_str(), 0, size, m_data.data())) {
                m_data.clear();
            }
        }
    }
    bool present() const { return !m_data.empty(); }

    const VS_FIXEDFILEINFO* fixed() {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(m_data.data(), L"\\", &value, &length) ||
            length < sizeof(VS_FIXEDFILEINFO)) {
            return nullptr;
        }
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }

    std::wstring text(const std::wstring& key) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring path = L"\\StringFileInfo\\040904B0\\" + key;
        if (!VerQueryValueW(m_data.data(), path.c_str(), &value, &length) || length == 0) {
            return L"<missing>";
        }
        return std::wstring(static_cast<const wchar_t*>(value));
    }

private:
    std::vector<unsigned char> m_data;
};

} // namespace

TEST(WindowsDll, LibrariesAreSeparateDllsBesideTheProgram) {
    const HMODULE geometry = moduleOf(reinterpret_cast<const void*>(&orv::narrowToFloat));
    const HMODULE platform = moduleOf(reinterpret_cast<const void*>(&orv::writePointFile));
    ASSERT_NE(geometry, nullptr);
    ASSERT_NE(platform, nullptr);
    EXPECT_NE(geometry, platform);
    EXPECT_NE(geometry, GetModuleHandleW(nullptr));
    EXPECT_EQ(baseName(modulePath(geometry)), L"libORVRWGeometryTools.dll");
    EXPECT_EQ(baseName(modulePath(platform)), L"libORVPlatform.dll");
}

TEST(WindowsDll, VersionBlockCarriesTheProjectVersion) {
    const HMODULE geometry = moduleOf(reinterpret_cast<const void*>(&orv::narrowToFloat));
    ASSERT_NE(geometry, nullptr);
    const std::wstring path = modulePath(geometry);
    VersionInfo info(path);
    ASSERT_TRUE(info.present());

    const VS_FIXEDFILEINFO* fixed = info.fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD ms = (DWORD(ORV_VERSION_MAJOR) << 16) | DWORD(ORV_VERSION_MINOR);
    const DWORD ls = DWORD(ORV_VERSION_PATCH) << 16;
    EXPECT_EQ(fixed->dwFileVersionMS, ms);
    EXPECT_EQ(fixed->dwFileVersionLS, ls);
    EXPECT_EQ(fixed->dwProductVersionMS, ms);
    EXPECT_EQ(fixed->dwProductVersionLS, ls);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));

    EXPECT_EQ(info.text(L"FileVersion"), widen(ORV_VERSION_STRING));
    EXPECT_EQ(info.text(L"ProductVersion"), widen(ORV_VERSION_STRING));
    EXPECT_EQ(info.text(L"ProductName"), L"libORVRWGeometryTools");
    EXPECT_EQ(info.text(L"OriginalFilename"), baseName(path));
}

#endif
