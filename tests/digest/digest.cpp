// Digests of the bits of many results: each of the library's own mathematical functions and each
// public conversion that calls them, over arguments drawn from a fixed seed with integer
// arithmetic only (no library distribution, whose values may differ between standard libraries).
// Builds that must agree bit for bit (native, Windows under Wine, without the SIMD paths) print the
// same lines; .ci/run compares them.
//
//   orv_digest [count [dir]]   count results per line (default 1000000); with dir, also writes
//                              the bytes of each line's results to dir/NN.bin (NN the line's
//                              number), the same number of bytes for every result of a line, so
//                              that two builds' results can be compared one by one.

#include "orv/GeometryTools.h"
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/VectorMath.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using F3 = orv::TripletBase<float>;
using D3 = orv::TripletBase<double>;

// SplitMix64: the same sequence on every platform.
class Bits {
public:
    explicit Bits(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (m_state += UINT64_C(0x9E3779B97F4A7C15));
        z = (z ^ (z >> 30)) * UINT64_C(0xBF58476D1CE4E5B9);
        z = (z ^ (z >> 27)) * UINT64_C(0x94D049BB133111EB);
        return z ^ (z >> 31);
    }
    // A double in [-1, 1): 53 random bits scaled exactly.
    double unit() { return static_cast<double>(static_cast<std::int64_t>(next()) >> 10) * 0x1p-53; }
    // A double of random sign and magnitude 2^e, e uniform in [lo, hi), random significand.
    double logUniform(int lo, int hi) {
        const std::uint64_t b = next();
        const int e = lo + static_cast<int>(b % static_cast<std::uint64_t>(hi - lo));
        const std::uint64_t mantissa = next() & UINT64_C(0x000FFFFFFFFFFFFF);
        const std::uint64_t bits =
            (static_cast<std::uint64_t>(e + 1023) << 52) | mantissa | ((b >> 63) << 63);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

private:
    std::uint64_t m_state;
};

// FNV-1a over the bytes of the values.
class Digest {
public:
    template <class T> void add(const T& v) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        for (unsigned char c : bytes) {
            m_hash = (m_hash ^ c) * UINT64_C(0x100000001B3);
        }
        if (keepBytes()) {
            m_bytes.insert(m_bytes.end(), bytes, bytes + sizeof(T));
        }
    }
    void add(const F3& v) {
        add(v.x);
        add(v.y);
        add(v.z);
    }
    void add(const D3& v) {
        add(v.x);
        add(v.y);
        add(v.z);
    }
    std::uint64_t value() const { return m_hash; }
    const std::vector<unsigned char>& bytes() const { return m_bytes; }
    static bool& keepBytes() {
        static bool keep = false;
        return keep;
    }

private:
    std::uint64_t m_hash = UINT64_C(0xCBF29CE484222325);
    std::vector<unsigned char> m_bytes;
};

const char* dumpDir = nullptr;

void print(const char* name, long count, const Digest& d) {
    static int number = 0;
    ++number;
    std::printf("%-40s %8ld %016llx\n", name, count, static_cast<unsigned long long>(d.value()));
    if (dumpDir != nullptr) {
        char path[4096];
        std::snprintf(path, sizeof path, "%s/%02d.bin", dumpDir, number);
        if (std::FILE* f = std::fopen(path, "wb")) {
            std::fwrite(d.bytes().data(), 1, d.bytes().size(), f);
            std::fclose(f);
        }
    }
}

template <class F> void line(const char* name, long count, std::uint64_t seed, F&& f) {
    Bits bits(seed);
    Digest d;
    for (long i = 0; i < count; ++i) {
        f(bits, d);
    }
    print(name, count, d);
}

} // namespace

int main(int argc, char** argv) {
    const long n = argc > 1 ? std::atol(argv[1]) : 1000000L;
    if (argc > 2) {
        dumpDir = argv[2];
        Digest::keepBytes() = true;
    }
    namespace cr = orv::crmath;
    constexpr double kPi = 3.141592653589793;

    // The functions, over the whole range and over the library's own arguments.
    // Each draw in a statement of its own: the order in which a call's arguments are evaluated
    // differs between compilers.
    line("atan2 (log-uniform)", n, 1, [](Bits& b, Digest& d) {
        const double y = b.logUniform(-1074, 1024);
        const double x = b.logUniform(-1074, 1024);
        d.add(cr::atan2(y, x));
    });
    line("atan2 (unit-vector components)", n, 2, [](Bits& b, Digest& d) {
        const double y = b.unit();
        const double x = b.unit();
        d.add(cr::atan2(y, x));
    });
    line("acos ([-1, 1])", n, 3, [](Bits& b, Digest& d) { d.add(cr::acos(b.unit())); });
    line("sin (log-uniform)", n, 4,
         [](Bits& b, Digest& d) { d.add(cr::sin(b.logUniform(-1074, 1024))); });
    line("cos (log-uniform)", n, 5,
         [](Bits& b, Digest& d) { d.add(cr::cos(b.logUniform(-1074, 1024))); });
    line("sin, cos (degrees * pi / 180)", n, 6, [](Bits& b, Digest& d) {
        const double x = (b.unit() * 720.0) * kPi / 180.0;
        d.add(cr::sin(x));
        d.add(cr::cos(x));
    });
    line("sinf, cosf (log-uniform)", n, 7, [](Bits& b, Digest& d) {
        const float x = static_cast<float>(b.logUniform(-149, 128));
        d.add(cr::sinf(x));
        d.add(cr::cosf(x));
    });
    line("sinf, cosf (degrees * pi / 180)", n, 8, [](Bits& b, Digest& d) {
        const float x = static_cast<float>((b.unit() * 720.0) * kPi / 180.0);
        d.add(cr::sinf(x));
        d.add(cr::cosf(x));
    });
    line("log1p (log-uniform, > -1)", n, 9, [](Bits& b, Digest& d) {
        const double x = b.logUniform(-1074, 1024);
        d.add(cr::log1p(x < -1.0 ? -1.0 / x : x));
    });
    line("expm1 (|x| < 1024)", n, 10,
         [](Bits& b, Digest& d) { d.add(cr::expm1(b.logUniform(-1074, 10))); });

    // The public conversions that call them.
    const orv::RotationAxis axis(D3(1.0, -2.0, 3.0), D3(0.3, -0.2, 1.0), 30.0, D3(1.0, 0.0, 0.0));
    const auto point = [](Bits& b) {
        const double x = b.unit() * 100.0;
        const double y = b.unit() * 100.0;
        const double z = b.unit() * 100.0;
        return D3(x, y, z);
    };
    line("convertART, double", n, 11, [&](Bits& b, Digest& d) {
        const orv::DART r = axis.convertART(point(b));
        d.add(D3(r.a, r.r, r.t));
    });
    line("convertART, float", n, 12, [&](Bits& b, Digest& d) {
        const orv::ART r = axis.convertART(F3(point(b)));
        d.add(F3(r.a, r.r, r.t));
    });
    line("convertXYZ, double", n, 13, [&](Bits& b, Digest& d) {
        d.add(
            axis.convertXYZ(orv::DART{b.unit() * 50.0, b.unit() * 50.0 + 50.0, b.unit() * 400.0}));
    });
    line("convertXYZ, float", n, 14, [&](Bits& b, Digest& d) {
        const D3 p = point(b);
        d.add(axis.convertXYZ(orv::ART{static_cast<float>(p.x), static_cast<float>(p.y + 100.0),
                                       static_cast<float>(p.z * 4.0)}));
    });
    {
        Bits b(15);
        std::vector<D3> dpoints(static_cast<std::size_t>(n));
        std::vector<F3> fpoints(static_cast<std::size_t>(n));
        for (long i = 0; i < n; ++i) {
            dpoints[static_cast<std::size_t>(i)] = point(b);
            fpoints[static_cast<std::size_t>(i)] = F3(dpoints[static_cast<std::size_t>(i)]);
        }
        std::vector<orv::DART> dart;
        std::vector<orv::ART> art;
        axis.convertART(dpoints, dart);
        axis.convertART(fpoints, art);
        Digest lists;
        for (long i = 0; i < n; ++i) {
            const orv::DART& r = dart[static_cast<std::size_t>(i)];
            const orv::ART& s = art[static_cast<std::size_t>(i)];
            lists.add(D3(r.a, r.r, r.t));
            lists.add(F3(s.a, s.r, s.t));
        }
        print("convertART lists, double and float", n, lists);
        axis.rotateByAngle(dpoints, 17.25);
        axis.rotateByAngle(fpoints, 17.25);
        Digest rotated;
        for (long i = 0; i < n; ++i) {
            rotated.add(dpoints[static_cast<std::size_t>(i)]);
            rotated.add(fpoints[static_cast<std::size_t>(i)]);
        }
        print("rotateByAngle lists, double and float", n, rotated);
    }
    line("getRotationMatrix", n / 10, 16, [&](Bits& b, Digest& d) {
        orv::ORVMatrix4 m;
        axis.getRotationMatrix(m, b.unit() * 720.0);
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                d.add(m(i, j));
            }
        }
    });
    line("Triangle angles at B and C", n, 17, [&](Bits& b, Digest& d) {
        const D3 p = point(b);
        const D3 q = point(b);
        const D3 r = point(b);
        orv::Triangle t(p, q, r);
        double angleB = 0.0;
        double angleC = 0.0;
        t.getAnglesBandC(angleB, angleC);
        d.add(angleB);
        d.add(angleC);
    });

    // The array forms of the functions on every path that the build and the processor have (the
    // scalar one, SSE2, AVX2): the line digests the scalar path's results and says whether every
    // other path gave the same bits, so that it reads the same in every build.
    {
        namespace cd = orv::crmath::detail;
        Bits b(18);
        const std::size_t m = static_cast<std::size_t>(n);
        std::vector<double> ys(m), xs(m), angles(m);
        std::vector<float> fangles(m);
        for (std::size_t i = 0; i < m; ++i) {
            const bool wide = i % 4 == 3;
            ys[i] = wide ? b.logUniform(-1074, 1024) : b.unit();
            xs[i] = wide ? b.logUniform(-1074, 1024) : b.unit();
            angles[i] = wide ? b.logUniform(-1074, 1024) : (b.unit() * 720.0) * kPi / 180.0;
            fangles[i] = static_cast<float>(wide ? b.logUniform(-149, 128) : angles[i]);
        }
        struct Results {
            std::vector<double> t, s, c;
            std::vector<float> sf, cf;
        };
        const auto run = [&](const cd::VectorKernels& k) {
            Results r{std::vector<double>(m), std::vector<double>(m), std::vector<double>(m),
                      std::vector<float>(m), std::vector<float>(m)};
            k.atan2(ys.data(), xs.data(), r.t.data(), m);
            k.sincos(angles.data(), r.s.data(), r.c.data(), m);
            k.sincosf(fangles.data(), r.sf.data(), r.cf.data(), m);
            return r;
        };
        const Results scalar = run(*cd::vectorKernels(cd::VectorPath::Scalar));
        bool agree = true;
        for (const cd::VectorPath path : {cd::VectorPath::Sse2, cd::VectorPath::Avx2}) {
            if (const cd::VectorKernels* k = cd::vectorKernels(path)) {
                const Results r = run(*k);
                agree = agree &&
                        std::memcmp(r.t.data(), scalar.t.data(), m * sizeof(double)) == 0 &&
                        std::memcmp(r.s.data(), scalar.s.data(), m * sizeof(double)) == 0 &&
                        std::memcmp(r.c.data(), scalar.c.data(), m * sizeof(double)) == 0 &&
                        std::memcmp(r.sf.data(), scalar.sf.data(), m * sizeof(float)) == 0 &&
                        std::memcmp(r.cf.data(), scalar.cf.data(), m * sizeof(float)) == 0;
            }
        }
        Digest arrays;
        for (std::size_t i = 0; i < m; ++i) {
            arrays.add(scalar.t[i]);
            arrays.add(scalar.s[i]);
            arrays.add(scalar.c[i]);
            arrays.add(scalar.sf[i]);
            arrays.add(scalar.cf[i]);
        }
        print(agree ? "array forms, every path" : "array forms: PATHS DISAGREE", n, arrays);
        if (!agree) {
            return 1;
        }
    }

    // The lists that convert several points at a time: back to points, the rotations with
    // continuity, the projection, the theta turbo transform's lists both ways.
    {
        Bits b(19);
        const std::size_t m = static_cast<std::size_t>(n);
        std::vector<orv::DART> drec(m);
        std::vector<orv::ART> frec(m);
        std::vector<D3> dpoints(m), radians(m);
        std::vector<F3> fpoints(m);
        for (std::size_t i = 0; i < m; ++i) {
            const double a = b.unit() * 50.0;
            const double r = b.unit() * 50.0 + 50.0;
            const double t = b.unit() * 4000.0;
            drec[i] = orv::DART{a, r, t};
            frec[i] = orv::ART{static_cast<float>(a), static_cast<float>(r), static_cast<float>(t)};
            radians[i] = D3(a, r, t * kPi / 180.0);
            dpoints[i] = point(b);
            fpoints[i] = F3(dpoints[i]);
        }
        std::vector<D3> dout;
        std::vector<F3> fout;
        Digest xyz;
        axis.convertXYZ(drec, dout);
        axis.convertXYZ(frec, fout);
        for (std::size_t i = 0; i < m; ++i) {
            xyz.add(dout[i]);
            xyz.add(fout[i]);
        }
        axis.convertXYZThetaRad(radians, dout);
        for (std::size_t i = 0; i < m; ++i) {
            xyz.add(dout[i]);
        }
        print("convertXYZ lists, double and float", n, xyz);
        std::vector<D3> dperiod = dpoints, dproject = dpoints;
        std::vector<F3> fperiod = fpoints, fproject = fpoints;
        axis.rotateByPeriod(dperiod, 2.5);
        axis.rotateByPeriod(fperiod, -1.25);
        orv::RotationAxis writable = axis;
        writable.projectToTheta(dproject, 33.0);
        writable.projectToTheta(fproject, -121.5);
        Digest rotations;
        for (std::size_t i = 0; i < m; ++i) {
            rotations.add(dperiod[i]);
            rotations.add(fperiod[i]);
            rotations.add(dproject[i]);
            rotations.add(fproject[i]);
        }
        print("rotateByPeriod, projectToTheta lists", n, rotations);
        const orv::TurboTransform passage(
            {orv::Doublet(-200.0f, 10.0f), orv::Doublet(0.0f, 20.0f), orv::Doublet(200.0f, 15.0f)},
            {orv::Doublet(-200.0f, 160.0f), orv::Doublet(0.0f, 150.0f),
             orv::Doublet(200.0f, 170.0f)});
        const orv::ThetaTurboTransform turbo(-90.0, axis);
        std::vector<D3> nmts;
        std::vector<F3> back;
        turbo.convertXYZtoNMTS(fpoints, nmts, passage);
        turbo.convertNMTStoXYZ(nmts, back, passage);
        Digest turboLists;
        for (std::size_t i = 0; i < m; ++i) {
            turboLists.add(nmts[i]);
            turboLists.add(back[i]);
        }
        print("turbo lists, XYZ to NMTS and back", n, turboLists);
    }
    return 0;
}
