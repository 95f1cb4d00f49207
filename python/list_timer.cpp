// Times the library's list calls on points read from a file, without Python, for
// bench/bench_python.py:
//
//   orv_list_timer OPERATION POINTS_FILE REPEATS [ROTOR37_DIR]
//
// POINTS_FILE holds N rows of three numbers, raw in the machine's byte order (float64 for art64 and
// nmts_to_xyz, float32 for art32 and nmts). Each of the REPEATS calls starts from an empty output
// list, as the module's calls do; the best time in seconds is printed.
//   art64, art32   RotationAxis::convertART to triplets, on the skew axis of bench_python.py
//   nmts           ThetaTurboTransform::convertXYZtoNMTS on NASA Rotor 37 (break angle -180)
//   nmts_to_xyz    ThetaTurboTransform::convertNMTStoXYZ on the same passage
#include "Rotor37.h"

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

template <class In, class Out, class Call> double best(const In& in, int repeats, Call call) {
    double bestSeconds = 1e300;
    for (int i = 0; i < repeats; ++i) {
        Out out;
        const auto start = std::chrono::steady_clock::now();
        call(in, out);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        bestSeconds = std::min(bestSeconds, took.count());
    }
    return bestSeconds;
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
    double seconds = -1.0;
    if (op == "art64") {
        seconds = best<std::vector<D3>, std::vector<D3>>(
            readPoints<double>(argv[2]), repeats,
            [&](const auto& in, auto& out) { axis.convertART(in, out); });
    } else if (op == "art32") {
        seconds = best<std::vector<F3>, std::vector<F3>>(
            readPoints<float>(argv[2]), repeats,
            [&](const auto& in, auto& out) { axis.convertART(in, out); });
    } else if ((op == "nmts" || op == "nmts_to_xyz") && argc > 4) {
        const orv::TurboTransform passage = rotor37::passage(argv[4]);
        const orv::ThetaTurboTransform transform(-180.0, rotor37::axis());
        if (op == "nmts") {
            seconds = best<std::vector<F3>, std::vector<D3>>(
                readPoints<float>(argv[2]), repeats,
                [&](const auto& in, auto& out) { transform.convertXYZtoNMTS(in, out, passage); });
        } else {
            seconds = best<std::vector<D3>, std::vector<F3>>(
                readPoints<double>(argv[2]), repeats,
                [&](const auto& in, auto& out) { transform.convertNMTStoXYZ(in, out, passage); });
        }
    } else {
        std::fprintf(stderr, "unknown operation %s\n", op.c_str());
        return 2;
    }
    std::printf("%.9f\n", seconds);
    return 0;
}
