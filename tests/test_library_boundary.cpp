// What crosses the boundary between the host and the two shared libraries: host classes derived
// from exported classes, containers allocated on one side and released on the other, and calls
// (refusals included) from threads the host starts. On Windows, also the version-information block
// of the geometry library's DLL. Refusals caught by their class are checked by the export and
// package tests.
#include "TestSupport.h"

#include "orv/platform/PointFile.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

using orv::TripletBase;

namespace {

const TripletBase<double> kOrigin(0, 0, 0);
const TripletBase<double> kZ(0, 0, 1);
const TripletBase<double> kY(0, 1, 0);

// A host's own exception class derived from the library's family.
class HostInvalid : public orv::data::invalid {
public:
    HostInvalid() : orv::data::invalid("Host", "check", "host text", orv::errorTypeWarning) {}
    std::string describe() const override { return "host: " + getMessage(); }
};

} // namespace

TEST(LibraryBoundary, HostDerivedExceptionDispatchesToHostOverride) {
    try {
        throw HostInvalid();
    } catch (const orv::data::error& e) {
        EXPECT_EQ(e.describe(), "host: host text");
        EXPECT_EQ(e.getClassLabel(), "Host");
        EXPECT_EQ(e.getErrorType(), orv::errorTypeWarning);
        EXPECT_NE(dynamic_cast<const HostInvalid*>(&e), nullptr);
    }
}

// The curve's point list is allocated by the platform library; the host copies the curve, releases
// the original and reads the copy.
TEST(LibraryBoundary, ContainersChangeOwnerAcrossTheBoundary) {
    const std::vector<TripletBase<double>> pts{{1, 2, 3}, {-0.0, 1e-310, 4.5}};
    std::vector<TripletBase<double>> copyPoints;
    {
        auto* curve = new orv::ParametricCurve();
        curve->setPoints(pts, orv::ParametricCurve::dim2);
        orv::ParametricCurve copy(*curve);
        delete curve;
        copyPoints = copy.getPoints();
    }
    ASSERT_EQ(copyPoints.size(), pts.size());
    for (size_t i = 0; i < pts.size(); ++i) {
        EXPECT_TRUE(orvtest::tripletEq(copyPoints[i], pts[i].x, pts[i].y, pts[i].z));
    }
}

// Threads started by the host call into the library, refusals included, while it is loaded. Each
// thread's results equal those of the main thread bit for bit.
TEST(LibraryBoundary, ThreadsStartedByTheHostUseTheLibrary) {
    constexpr int kValues = 2000;
    std::vector<float> expected(kValues);
    for (int i = 0; i < kValues; ++i) {
        expected[i] = orv::narrowToFloat(1.0 / (i + 3));
    }
    const orv::RotationAxis axis(kOrigin, TripletBase<double>(0, 0, 7), 72.0, kY);
    const TripletBase<float> expectedDir = axis.getAxisDir();

    std::atomic<int> mismatches{0};
    std::atomic<int> refusals{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kValues; ++i) {
                if (!orvtest::sameBits(orv::narrowToFloat(1.0 / (i + 3)), expected[i])) {
                    ++mismatches;
                }
            }
            const orv::RotationAxis copy(axis);
            if (!orvtest::tripletEq(copy.getAxisDir(), expectedDir.x, expectedDir.y,
                                    expectedDir.z)) {
                ++mismatches;
            }
            try {
                orv::RotationAxis bad(kOrigin, kZ, 0.0, kY);
            } catch (const orv::data::invalid& e) {
                if (e.getMessage() == "Rotation Angle must be greater than zero.") {
                    ++refusals;
                }
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(refusals.load(), 4);
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
