// The C++ results that test_orv.py compares the module's with, bit for bit:
//   orv_py_reference DIR ROTOR37_DIR
// reads the raw (N, 3) inputs that the test wrote into DIR (in_xyzB, in_artB, in_passB for B = 32
// and 64, in_turbo32) and writes each operation's raw result as DIR/<name>.bin, on the test's axis
// and transform.
#include "Rotor37.h"

#include <fstream>
#include <iterator>
#include <string>

namespace {

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

} // namespace

int main(int argc, char** argv) {
    using D3 = orv::TripletBase<double>;
    using F3 = orv::TripletBase<float>;
    if (argc != 3) {
        return 2;
    }
    dir = argv[1];
    const orv::RotationAxis axis(D3(1.0, -2.0, 0.5), D3(1.0, 2.0, 3.0), 72.0, D3(0.0, 0.0, 1.0));
    const orv::TurboTransform passage = rotor37::passage(argv[2]);
    axisOperations<float, orv::ART>(axis, passage, "32");
    axisOperations<double, orv::DART>(axis, passage, "64");
    std::vector<F3> out;
    axis.convertARTSetHemisphereRad(read<F3>("in_xyz32"), out, 1.5), write("hemrad32", out);
    std::vector<float> values;
    for (const F3& v : {axis.getAxisPoint(), axis.getAxisDir(), axis.getUpVector()}) {
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
    return 0;
}
