// Times the library's list calls on points read from a file, without Python, for
// bench/bench_python.py:
//
//   orv_list_timer OPERATION POINTS_FILE REPEATS [ROTOR37_DIR]
//
// POINTS_FILE holds N rows of three numbers, raw in the machine's byte order (float64 for art64 and
// nmts_to_xyz, float32 for art32 and nmts). Prints two best times of REPEATS calls, in seconds:
// each call into a new output list reserved as the module reserves the lists it returns (the
// like-for-like figure), and into one output list reused from call to call, as a host converting
// mesh after mesh may (a list form that fills aside builds a new list on every call all the same).
//   art64, art32   RotationAxis::convertART to DART or ART records (the form the module calls), on
//                  the skew axis of bench_python.py
//   nmts           ThetaTurboTransform::convertXYZtoNMTS on NASA Rotor 37 (break angle -180)
//   nmts_to_xyz    ThetaTurboTransform::convertNMTStoXYZ on the same passage
//   deltas         calcNormalizedDeltas point by point, from the first half of the rows (float32)
//                  to the second half, into (dm, dt, ds) triplets, on the same passage
//   span64         the double projectPointToSpan, wallEndsClamped, span 0.5, NMTS, point by point
//   triangles      orv::Triangle of each three rows (float64) and its lengths, in-centre and angles
//                  at B and C, as triangle_measures asks for them
#include "ReservedList.h"
#include "Rotor37.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

template <class T> std::vector<orv::TripletBase<T>> readPoints(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<orv::TripletBase<T>> points(bytes.size() / sizeof(orv::TripletBase<T>));
    bytes.copy(reinterpret_cast<char*>(points.data()), points.size() * sizeof(points[0]));
    return points;
}

template <class Call> double seconds(Call call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Prints the best times of the call into a new output list, reserved as the module reserves its
// lists, and into one output list reused from call to call.
template <class Out, class In, class Call> void timeCall(const In& in, int repeats, Call call) {
    double fresh = 1e300, reused = 1e300;
    std::vector<Out> kept;
    for (int i = 0; i < repeats; ++i) {
        {
            std::vector<Out> out = orvpy::reserved<Out>(std::ptrdiff_t(in.size()));
            fresh = std::min(fresh, seconds([&] { call(in, out); }));
        }
        reused = std::min(reused, seconds([&] { call(in, kept); }));
    }
    std::printf("%.9f %.9f\n", fresh, reused);
}

} // namespace

int main(int argc, char** argv) {
    using D3 = orv::TripletBase<double>;
    using F3 = orv::TripletBase<float>;
    if (argc < 4) {
        std::fprintf(stderr, "usage: orv_list_timer OPERATION POINTS_FILE REPEATS [ROTOR37_DIR]\n");
        return 2;
    }
    const std::string op = argv[1];
    const int repeats = std::stoi(argv[3]);
    const orv::RotationAxis axis(D3(1.0, -2.0, 3.0), D3(0.3, -0.2, 1.0), 30.0, D3(1.0, 0.0, 0.0));
    const auto art = [&](const auto& in, auto& out) { axis.convertART(in, out); };
    if (op == "art64") {
        timeCall<orv::DART>(readPoints<double>(argv[2]), repeats, art);
    } else if (op == "art32") {
        timeCall<orv::ART>(readPoints<float>(argv[2]), repeats, art);
    } else if ((op == "nmts" || op == "nmts_to_xyz") && argc > 4) {
        const orv::TurboTransform passage = rotor37::passage(argv[4]);
        const orv::ThetaTurboTransform transform(-180.0, rotor37::axis());
        if (op == "nmts") {
            timeCall<D3>(readPoints<float>(argv[2]), repeats, [&](const auto& in, auto& out) {
                transform.convertXYZtoNMTS(in, out, passage);
            });
        } else {
            timeCall<F3>(readPoints<double>(argv[2]), repeats, [&](const auto& in, auto& out) {
                transform.convertNMTStoXYZ(in, out, passage);
            });
        }
    } else if (op == "deltas" && argc > 4) {
        const orv::TurboTransform passage = rotor37::passage(argv[4]);
        const orv::ThetaTurboTransform transform(-180.0, rotor37::axis());
        const std::vector<F3> rows = readPoints<float>(argv[2]);
        const std::size_t n = rows.size() / 2;
        const std::vector<F3> from(rows.begin(), rows.begin() + n),
            to(rows.begin() + n, rows.end());
        timeCall<D3>(from, repeats, [&](const auto& in, auto& out) {
            out.resize(in.size());
            for (std::size_t i = 0; i < in.size(); ++i) {
                transform.calcNormalizedDeltas(in[i], to[i], out[i].x, out[i].y, out[i].z, passage);
            }
        });
    } else if (op == "span64" && argc > 4) {
        const orv::TurboTransform passage = rotor37::passage(argv[4]);
        const orv::ThetaTurboTransform transform(-180.0, rotor37::axis());
        timeCall<D3>(readPoints<double>(argv[2]), repeats, [&](const auto& in, auto& out) {
            out.resize(in.size());
            for (std::size_t i = 0; i < in.size(); ++i) {
                out[i] =
                    transform.projectPointToSpan(in[i], orv::ThetaTurboTransform::wallEndsClamped,
                                                 0.5, orv::TurboTransform::spaceNMTS, passage);
            }
        });
    } else if (op == "triangles") {
        // Per triangle: a, b, c, in-centre, angles at B and C (8 doubles, as one D3 + 5 doubles).
        struct Measures {
            double a, b, c, x, y, z, angleB, angleC;
        };
        timeCall<Measures>(readPoints<double>(argv[2]), repeats, [&](const auto& in, auto& out) {
            out.resize(in.size() / 3);
            for (std::size_t i = 0; i < out.size(); ++i) {
                orv::Triangle t(in[3 * i], in[3 * i + 1], in[3 * i + 2]);
                Measures& m = out[i];
                t.getLenghts(m.a, m.b, m.c);
                const D3& centre = t.getInCenter();
                m.x = centre.x, m.y = centre.y, m.z = centre.z;
                t.getAnglesBandC(m.angleB, m.angleC);
            }
        });
    } else {
        std::fprintf(stderr, "unknown operation %s\n", op.c_str());
        return 2;
    }
    return 0;
}
