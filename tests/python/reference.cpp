// The C++ results that the Python tests compare the module's with, bit for bit.
//
//   orv_py_reference DIR ROTOR37_DIR
// reads the raw (N, 3) inputs that test_orv.py wrote into DIR (in_xyzB, in_artB, in_passB for
// B = 32 and 64, in_turbo32, in_turbo64, in_deltas, in_tri64) and writes each operation's raw
// result as DIR/<name>.bin, on the test's axis, passage and transforms.
//
//   orv_py_reference point OP DIR ROTOR37_DIR [NUMBER...]
// converts the raw rows of DIR/a.bin (and DIR/b.bin) with the library's single-point calls, one
// row after the other, and writes DIR/out.bin, or, at the first refusal, the exception's
// description into DIR/refused.txt (test_properties.py). The axis is the general one of
// test_orv.py, the theta turbo transform that of Rotor 37 with the break angle NUMBER 1.
//   art32 art64        convertART, then each later point convertARTSetHemisphere near the theta
//                      before it (the list's continuity); NUMBER 1: a first reference, if given
//   xyz32 xyz64        convertXYZ of (a, r, theta in degrees) records
//   rot64              rotateByAngle by NUMBER 1 degrees
//   space              convertXYZtoSpace in the space NUMBER 2 (float32 points)
//   space_xyz          convertSpaceToXYZ in the space NUMBER 2 (float64 rows)
//   deltas             calcNormalizedDeltas from a.bin's row to b.bin's row: (dm, dt, ds)
//   apply              applyNormalizedDeltas of a.bin's point by b.bin's (dm, dt, ds)
//   span32             float projectPointToSpan: span NUMBER 2, space NUMBER 3
//   span64             double projectPointToSpan: type NUMBER 2, span NUMBER 3, space NUMBER 4
//   tri64 tri32        the triangle measures of (M, 3, 3) rows (see triangle() below)
#include "Rotor37.h"

#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using D3 = orv::TripletBase<double>;
using F3 = orv::TripletBase<float>;
using Space = orv::TurboTransform::space;

std::string dir;

template <class R> std::vector<R> read(const std::string& name) {
    std::ifstream in(dir + "/" + name + ".bin", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<R> rows(bytes.size() / sizeof(R));
    bytes.copy(reinterpret_cast<char*>(rows.data()), bytes.size());
    return rows;
}

template <class R> void write(const std::string& name, const std::vector<R>& rows) {
    std::ofstream(dir + "/" + name + ".bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(rows.data()),
               std::streamsize(rows.size() * sizeof(R)));
}

orv::RotationAxis generalAxis() {
    return orv::RotationAxis(D3(1.0, -2.0, 0.5), D3(1.0, 2.0, 3.0), 72.0, D3(0.0, 0.0, 1.0));
}

template <class T, class Rec>
void axisOperations(const orv::RotationAxis& axis, const orv::TurboTransform& passage,
                    const char* bits) {
    using P = orv::TripletBase<T>;
    const std::string b = bits;
    const std::vector<P> xyz = read<P>("in_xyz" + b), art = read<P>("in_art" + b);
    std::vector<P> out, axial, radial, theta, moved = xyz;
    std::vector<Rec> records;
    axis.convertART(xyz, out), write("art" + b, out);
    axis.convertARTSetHemisphere(xyz, records, 100.0), write("hem" + b, records);
    axis.convertAR(xyz, records, 30.0), write("ar" + b, records);
    axis.convertARTWithDirections(xyz, records, axial, radial, theta);
    write("dirs_art" + b, records), write("dirs_axial" + b, axial);
    write("dirs_radial" + b, radial), write("dirs_theta" + b, theta);
    axis.convertXYZ(read<Rec>("in_art" + b), out), write("xyz" + b, out);
    axis.convertXYZThetaRad(art, out), write("xyzrad" + b, out);
    axis.rotateByAngle(moved, 25.0), write("rot" + b, moved);
    moved = xyz, axis.rotateByPeriod(moved, 1.5), write("per" + b, moved);
    moved = xyz, orv::RotationAxis(axis).projectToTheta(moved, 40.0), write("proj" + b, moved);
    std::vector<P> tns = read<P>("in_pass" + b);
    for (P& p : tns) {
        passage.convertARTtoSpaceTNs(orv::TurboTransform::spaceNMTS, p, p);
    }
    write("pass_tns" + b, tns);
}

// Rows (a, r, theta) of convertXYZtoART and convertXYZtoARTSetHemisphere, the points of
// convertARTtoXYZ, the deltas between the points and their neighbours rotated by 3 degrees and
// moved outwards, those deltas applied to the points, and projectPointToSpan in every form.
void turboPointOperations(const orv::ThetaTurboTransform& transform,
                          const orv::TurboTransform& passage) {
    const std::vector<F3> xyz = read<F3>("in_turbo32");
    const std::vector<D3> xyz64 = read<D3>("in_turbo64");
    const std::vector<D3> deltas = read<D3>("in_deltas");
    std::vector<D3> art, hem, d;
    std::vector<F3> back, moved, to;
    for (std::size_t i = 0; i < xyz.size(); ++i) {
        D3 r, h;
        transform.convertXYZtoART(xyz[i], r.x, r.y, r.z);
        transform.convertXYZtoARTSetHemisphere(xyz[i], h.x, h.y, h.z, 2.5);
        art.push_back(r), hem.push_back(h);
        F3 p;
        transform.convertARTtoXYZ(r.x, r.y, r.z, p);
        back.push_back(p);
        const F3 other = xyz[(i + 1) % xyz.size()];
        D3 delta;
        transform.calcNormalizedDeltas(xyz[i], other, delta.x, delta.y, delta.z, passage);
        d.push_back(delta);
        F3 m;
        transform.applyNormalizedDeltas(xyz[i], m, deltas[i].x, deltas[i].y, deltas[i].z, passage);
        moved.push_back(m);
    }
    write("turbo_art", art), write("turbo_hem", hem), write("turbo_art_xyz", back);
    write("deltas", d), write("applied", moved);
    for (const Space space : {orv::TurboTransform::spaceMTS, orv::TurboTransform::spaceNMTS,
                              orv::TurboTransform::spaceMPrime}) {
        const std::string s = std::to_string(int(space));
        std::vector<F3> single;
        for (const F3& p : xyz) {
            single.push_back(transform.projectPointToSpan(p, 0.25, space, passage));
        }
        write("span32_" + s, single);
        for (const int type : {0, 1, 2, 7}) {
            std::vector<D3> projected;
            for (const D3& p : xyz64) {
                projected.push_back(transform.projectPointToSpan(
                    p, static_cast<orv::ThetaTurboTransform::ProjectionType>(type), 0.75, space,
                    passage));
            }
            write("span64_" + std::to_string(type) + "_" + s, projected);
        }
    }
}

// The measures of one triangle, as triangle_measures gives them: lengths a, b, c, perimeter,
// area, in-radius, in-centre, angles at B and C. The perimeter, area and in-radius have no getter:
// they are read from the basic report, printed in hexadecimal (every bit).
template <class T> std::vector<double> triangle(const T* v) {
    using P = orv::TripletBase<T>;
    orv::Triangle tri(P(v[0], v[1], v[2]), P(v[3], v[4], v[5]), P(v[6], v[7], v[8]));
    std::vector<double> out(13);
    tri.getLenghts(out[0], out[1], out[2]);
    std::ostringstream report;
    std::streambuf* kept = std::cout.rdbuf(report.rdbuf());
    std::cout << std::hexfloat;
    tri.testBasicLengths("");
    std::cout << std::defaultfloat;
    std::cout.rdbuf(kept);
    std::istringstream lines(report.str());
    for (std::string line; std::getline(lines, line);) {
        const auto value = [&](const char* label, int at) {
            if (line.rfind(label, 0) == 0) {
                out[at] = std::strtod(line.c_str() + std::string(label).size(), nullptr);
            }
        };
        value("Perimeter:", 3), value("Area:", 4), value("In Radius:", 5);
    }
    const D3& centre = tri.getInCenter();
    out[6] = centre.x, out[7] = centre.y, out[8] = centre.z;
    tri.getAnglesBandC(out[9], out[10]);
    out.resize(11);
    return out;
}

template <class T> std::vector<double> triangles(const std::vector<T>& rows) {
    std::vector<double> out;
    for (std::size_t i = 0; i + 9 <= rows.size(); i += 9) {
        const std::vector<double> m = triangle(&rows[i]);
        out.insert(out.end(), m.begin(), m.end());
    }
    return out;
}

// ---- Point mode ---------------------------------------------------------------------------

// The first point near the reference where one is given, then each near the theta before it.
template <class T, class Rec>
std::vector<Rec> continuous(const orv::RotationAxis& axis,
                            const std::vector<orv::TripletBase<T>>& in, const double* reference) {
    std::vector<Rec> out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (i > 0) {
            out.push_back(axis.convertARTSetHemisphere(in[i], static_cast<double>(out.back().t)));
        } else if (reference) {
            out.push_back(axis.convertARTSetHemisphere(in[i], *reference));
        } else {
            out.push_back(axis.convertART(in[i]));
        }
    }
    return out;
}

int pointMode(const std::string& op, int argc, char** argv) {
    const auto number = [&](int k) { return std::strtod(argv[4 + k], nullptr); };
    const orv::RotationAxis axis = generalAxis();
    const orv::TurboTransform passage = rotor37::passage(argv[4]);
    const orv::ThetaTurboTransform transform(argc > 5 ? number(1) : 0.0, rotor37::axis());
    const auto space = [&](int k) { return static_cast<Space>(int(number(k))); };
    const double first = argc > 5 ? number(1) : 0.0;
    const double* reference = argc > 5 ? &first : nullptr;
    try {
        if (op == "art32") {
            write("out", continuous<float, orv::ART>(axis, read<F3>("a"), reference));
        } else if (op == "art64") {
            write("out", continuous<double, orv::DART>(axis, read<D3>("a"), reference));
        } else if (op == "xyz32" || op == "xyz64") {
            if (op == "xyz32") {
                std::vector<F3> points;
                for (const orv::ART& r : read<orv::ART>("a")) {
                    points.push_back(axis.convertXYZ(r));
                }
                write("out", points);
            } else {
                std::vector<D3> points;
                for (const orv::DART& r : read<orv::DART>("a")) {
                    points.push_back(axis.convertXYZ(r));
                }
                write("out", points);
            }
        } else if (op == "rot64") {
            std::vector<D3> points = read<D3>("a");
            for (D3& p : points) {
                axis.rotateByAngle(p, number(1));
            }
            write("out", points);
        } else if (op == "space") {
            std::vector<D3> out;
            for (const F3& p : read<F3>("a")) {
                out.push_back(transform.convertXYZtoSpace(space(2), p, passage));
            }
            write("out", out);
        } else if (op == "space_xyz") {
            std::vector<F3> out;
            for (const D3& p : read<D3>("a")) {
                out.push_back(transform.convertSpaceToXYZ(space(2), p, passage));
            }
            write("out", out);
        } else if (op == "deltas" || op == "apply") {
            const std::vector<F3> a = read<F3>("a");
            std::vector<D3> deltas;
            std::vector<F3> moved;
            if (op == "deltas") {
                const std::vector<F3> b = read<F3>("b");
                for (std::size_t i = 0; i < a.size(); ++i) {
                    D3 d;
                    transform.calcNormalizedDeltas(a[i], b[i], d.x, d.y, d.z, passage);
                    deltas.push_back(d);
                }
                write("out", deltas);
            } else {
                const std::vector<D3> b = read<D3>("b");
                for (std::size_t i = 0; i < a.size(); ++i) {
                    F3 m;
                    transform.applyNormalizedDeltas(a[i], m, b[i].x, b[i].y, b[i].z, passage);
                    moved.push_back(m);
                }
                write("out", moved);
            }
        } else if (op == "span32") {
            std::vector<F3> out;
            for (const F3& p : read<F3>("a")) {
                out.push_back(transform.projectPointToSpan(p, number(2), space(3), passage));
            }
            write("out", out);
        } else if (op == "span64") {
            const auto type = static_cast<orv::ThetaTurboTransform::ProjectionType>(int(number(2)));
            std::vector<D3> out;
            for (const D3& p : read<D3>("a")) {
                out.push_back(transform.projectPointToSpan(p, type, number(3), space(4), passage));
            }
            write("out", out);
        } else if (op == "tri64") {
            write("out", triangles(read<double>("a")));
        } else if (op == "tri32") {
            write("out", triangles(read<float>("a")));
        } else {
            std::cerr << "unknown operation " << op << "\n";
            return 2;
        }
    } catch (const orv::Error& e) {
        std::ofstream(dir + "/refused.txt") << e.describe();
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::string(argv[1]) == "point") {
        dir = argv[3];
        return pointMode(argv[2], argc, argv);
    }
    if (argc != 3) {
        return 2;
    }
    dir = argv[1];
    const orv::RotationAxis axis = generalAxis();
    const orv::TurboTransform passage = rotor37::passage(argv[2]);
    axisOperations<float, orv::ART>(axis, passage, "32");
    axisOperations<double, orv::DART>(axis, passage, "64");
    std::vector<F3> out;
    axis.convertARTSetHemisphereRad(read<F3>("in_xyz32"), out, 1.5), write("hemrad32", out);
    std::vector<float> values;
    for (const F3& v : {axis.getAxisDir(), axis.getUpVector()}) {
        values.insert(values.end(), {v.x, v.y, v.z});
    }
    for (int k = 0; k < 3; ++k) {
        orv::ORVMatrix4 m;
        k == 0 ? axis.getRotationMatrix(m, 33.0) : axis.getRotationMatrix(m, k == 1);
        for (int i = 0; i < 16; ++i) {
            values.push_back(m(i / 4, i % 4));
        }
    }
    write("axis_values", values);

    const orv::ThetaTurboTransform transform(-5.0, rotor37::axis());
    const std::vector<F3> xyz = read<F3>("in_turbo32");
    std::vector<D3> tns;
    transform.convertXYZtoMTS(xyz, tns, passage), write("mts", tns);
    transform.convertMTStoXYZ(tns, out, passage), write("mts_xyz", out);
    transform.convertXYZtoNMTS(xyz, tns, passage), write("nmts", tns);
    transform.convertNMTStoXYZ(tns, out, passage), write("nmts_xyz", out);
    transform.convertXYZtoSpace(orv::TurboTransform::spaceMPrime, xyz, tns, passage);
    write("mprime", tns);
    transform.convertSpaceToXYZ(orv::TurboTransform::spaceMPrime, tns, out, passage);
    write("mprime_xyz", out);
    std::vector<F3> art = read<F3>("pass_tns32");
    for (F3& p : art) {
        passage.convertSpaceTNsToART(orv::TurboTransform::spaceNMTS, p, p);
    }
    write("pass_art32", art);
    turboPointOperations(transform, passage);
    write("tri64", triangles(read<double>("in_tri64")));
    return 0;
}
