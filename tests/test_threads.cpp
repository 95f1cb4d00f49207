// Several threads converting at once with shared const objects (an axis, the platform's passage
// model, a theta turbo transform), as the Python package's calls do with the interpreter lock
// released: every thread gets the bits of the same work done alone first. The ThreadSanitizer run
// of .ci/run (preset tsan) runs these tests and fails on any report of a data race.
#include "TestSupport.h"

#include <atomic>
#include <functional>
#include <random>
#include <thread>

using namespace orvtest;

namespace {

using Bytes = std::vector<unsigned char>;

template <class T> void append(Bytes& out, const std::vector<T>& list) {
    const auto* p = reinterpret_cast<const unsigned char*>(list.data());
    out.insert(out.end(), p, p + list.size() * sizeof(T));
}

// The shared objects and inputs, built once and only read by the threads.
struct Shared {
    const orv::RotationAxis axis{D3(1.0, -2.0, 0.5), D3(1.0, 2.0, 3.0), 72.0, D3(0.0, 0.0, 1.0)};
    const orv::RotationAxis zAxis{D3(0, 0, 0), D3(0, 0, 1), 10.0, D3(1, 0, 0)};
    // A curved passage of the platform's model (hub and shroud with different break points).
    const orv::TurboTransform passage{
        {{-20.0f, 17.5f}, {-5.0f, 17.6f}, {0.0f, 18.0f}, {4.5f, 19.5f}, {15.0f, 20.0f}},
        {{-20.0f, 25.5f}, {-2.0f, 25.2f}, {3.0f, 24.8f}, {15.0f, 24.0f}}};
    const orv::ThetaTurboTransform transform{-180.0, zAxis};
    std::vector<D3> points;
    std::vector<F3> points32, ring;
    std::vector<orv::DART> records;
    std::vector<D3> nmts;

    Shared() {
        std::mt19937_64 rng(29);
        std::uniform_real_distribution<double> any(-40.0, 40.0), unit(0.0, 1.0);
        for (int i = 0; i < 3000; ++i) {
            points.emplace_back(any(rng), any(rng), any(rng));
            points32.emplace_back(points.back());
            const double t = unit(rng) * 2 * kPi, r = 18.0 + 6.0 * unit(rng);
            const double z = -18.0 + 30.0 * unit(rng);
            // Three points at one axial and radius, as along a mesh line in theta.
            for (int k = 0; k < 3; ++k) {
                ring.emplace_back(D3(r * std::cos(t + k * 0.01), r * std::sin(t + k * 0.01), z));
            }
            records.push_back(orv::DART{any(rng), std::abs(any(rng)), 9.0 * any(rng)});
            nmts.emplace_back(unit(rng), unit(rng) - 0.5, unit(rng));
        }
    }
};

// Each job does a kind of work on the shared objects and returns its results as bytes.
using Job = std::function<Bytes(const Shared&)>;

std::vector<Job> jobs() {
    return {
        [](const Shared& s) { // axis lists, both precisions, continuous
            Bytes out;
            std::vector<orv::ART> art32;
            std::vector<orv::DART> art64, hem;
            s.axis.convertART(s.points32, art32), append(out, art32);
            s.axis.convertART(s.points, art64), append(out, art64);
            s.axis.convertARTSetHemisphere(s.points, hem, 123.0), append(out, hem);
            std::vector<D3> back;
            s.axis.convertXYZ(s.records, back), append(out, back);
            return out;
        },
        [](const Shared& s) { // axis single points, rotations, matrices
            Bytes out;
            std::vector<orv::DART> art;
            std::vector<orv::ART> art32;
            std::vector<D3> moved = s.points;
            for (std::size_t i = 0; i < s.points.size(); ++i) {
                art.push_back(s.axis.convertART(s.points[i]));
                art32.push_back(s.axis.convertARTSetHemisphere(s.points32[i], -30.0));
                s.axis.rotateByAngle(moved[i], 17.0);
            }
            append(out, art), append(out, art32), append(out, moved);
            orv::ORVMatrix4 m;
            s.axis.getRotationMatrix(m, 33.0);
            std::vector<float> values;
            for (int i = 0; i < 16; ++i) {
                values.push_back(m(i / 4, i % 4));
            }
            append(out, values);
            return out;
        },
        [](const Shared& s) { // theta turbo lists with the platform's passage model
            Bytes out;
            std::vector<D3> tns;
            std::vector<F3> xyz;
            s.transform.convertXYZtoNMTS(s.ring, tns, s.passage), append(out, tns);
            s.transform.convertXYZtoSpace(orv::TurboTransform::spaceMPrime, s.ring, tns, s.passage);
            append(out, tns);
            s.transform.convertNMTStoXYZ(s.nmts, xyz, s.passage), append(out, xyz);
            s.transform.convertMTStoXYZ(s.nmts, xyz, s.passage), append(out, xyz);
            return out;
        },
        [](const Shared& s) { // theta turbo single points: deltas, projections
            Bytes out;
            std::vector<D3> deltas, projected;
            std::vector<F3> moved;
            for (std::size_t i = 0; i + 1 < s.ring.size(); i += 7) {
                D3 d;
                s.transform.calcNormalizedDeltas(s.ring[i], s.ring[i + 1], d.x, d.y, d.z,
                                                 s.passage);
                deltas.push_back(d);
                F3 m;
                s.transform.applyNormalizedDeltas(s.ring[i], m, d.x, d.y, d.z, s.passage);
                moved.push_back(m);
                projected.push_back(s.transform.projectPointToSpan(
                    D3(s.ring[i]), orv::ThetaTurboTransform::wallEndsClamped, 0.5,
                    orv::TurboTransform::spaceMTS, s.passage));
            }
            append(out, deltas), append(out, moved), append(out, projected);
            return out;
        },
        [](const Shared& s) { // triangles (each thread its own, from the shared points)
            Bytes out;
            std::vector<double> measures;
            for (std::size_t i = 0; i + 2 < s.points.size(); i += 3) {
                orv::Triangle t(s.points[i], s.points[i + 1], s.points[i + 2]);
                double a, b, c, angleB, angleC;
                t.getLenghts(a, b, c);
                t.getAnglesBandC(angleB, angleC);
                measures.insert(measures.end(),
                                {a, b, c, angleB, angleC, t.getRatioInCenterSweepToSideA()});
            }
            append(out, measures);
            return out;
        },
    };
}

TEST(Threads, SharedConstObjectsGiveEveryThreadTheBitsOfOneThread) {
    const Shared shared;
    const std::vector<Job> work = jobs();
    std::vector<Bytes> alone;
    for (const Job& job : work) {
        alone.push_back(job(shared));
    }
    // Every thread runs every job, each starting at another job, all released at once.
    constexpr int kThreads = 4, kRounds = 2;
    std::vector<std::vector<Bytes>> results(kThreads);
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            results[t].resize(work.size());
            ++ready;
            while (ready.load() < kThreads) {
                std::this_thread::yield();
            }
            for (int round = 0; round < kRounds; ++round) {
                for (std::size_t k = 0; k < work.size(); ++k) {
                    const std::size_t j = (k + std::size_t(t)) % work.size();
                    results[t][j] = work[j](shared);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        for (std::size_t j = 0; j < work.size(); ++j) {
            EXPECT_FALSE(alone[j].empty());
            EXPECT_TRUE(results[t][j] == alone[j]) << "thread " << t << ", job " << j;
        }
    }
}

} // namespace
