// The kernel interface's virtual table on the Itanium C++ ABI (msvc_vtable_check.py checks the
// Microsoft ABI against the same list): every operation in its slot, with its exact signature,
// result kind and default. A host compiled against the interface calls operations by slot, so a
// slot out of place is a crash in the host.
#include "KernelTestSupport.h"

#include <cstddef>
#include <cstring>
#include <tuple>
#include <type_traits>
#include <utility>

namespace {

using K = orv::KernelInterfaceBase;
using orv::TripletBase;

// clang-format off
// Parameter kinds.
using S = const std::string&; using Sr = std::string&;
using VS = const std::vector<std::string>&; using VSr = std::vector<std::string>&;
using F3 = const TripletBase<float>&; using D3 = const TripletBase<double>&;
using F3r = TripletBase<float>&; using D3r = TripletBase<double>&;
using VF3 = const std::vector<TripletBase<float>>&; using VD3 = const std::vector<TripletBase<double>>&;
using VF3r = std::vector<TripletBase<float>>&; using VD3r = std::vector<TripletBase<double>>&;
using VF3p = std::vector<TripletBase<float>>*;
using VVF3 = const std::vector<std::vector<TripletBase<float>>>&;
using VVF3r = std::vector<std::vector<TripletBase<float>>>&;
using VD = const std::vector<double>&; using VDr = std::vector<double>&;
using VI = const std::vector<int>&; using VIr = std::vector<int>&; using VShr = std::vector<short>&;
using intr = int&; using doubler = double&;
using Geor = orv::Geometry&; using TVr = orv::TripletORVVector&; using IVr = orv::IntORVVector&;
using Ty = K::type; using PT = K::projectionType; using CT = K::curveType;
using LT = K::loftedSurfaceType; using EM = K::surfaceExtensionMethod;
// Result kinds: T text, V void, B bool, I int, C C string, f float, d double, F float triplet, D
// double triplet, P pair of floats, E pair of triplets, J projectionType.
using T = std::string; using V = void; using B = bool; using I = int; using C = const char*;
using f = float; using d = double; using F = TripletBase<float>; using D = TripletBase<double>;
using P = std::pair<float, float>; using E = std::pair<F, F>; using J = PT;
// clang-format on

#if defined(__GXX_ABI_VERSION)
constexpr bool kItaniumAbi = true;
#else
constexpr bool kItaniumAbi = false;
#endif

// The virtual-table slot a pointer to a virtual member function holds, -1 if none. On the Itanium
// C++ ABI the pointer is {ptr, adj} with ptr = 1 + the slot's byte offset (on ARM, ptr is the
// offset and adj carries the flag in its lowest bit).
template <class M> long slotOf(M member) {
    if (!kItaniumAbi) {
        return -1;
    }
    struct {
        std::ptrdiff_t ptr;
        std::ptrdiff_t adj;
    } bits;
    static_assert(sizeof(M) == sizeof(bits), "Itanium pointer to member function");
    std::memcpy(&bits, &member, sizeof bits);
#if defined(__arm__) || defined(__aarch64__)
    const bool isVirtual = (bits.adj & 1) != 0;
    const std::ptrdiff_t offset = bits.ptr;
#else
    const bool isVirtual = (bits.ptr & 1) != 0;
    const std::ptrdiff_t offset = bits.ptr - 1;
#endif
    return isVirtual ? static_cast<long>(offset / static_cast<std::ptrdiff_t>(sizeof(void*))) : -1;
}

template <class X> struct IsVector : std::false_type {};
template <class X> struct IsVector<std::vector<X>> : std::true_type {};
template <class X>
constexpr bool isTriplet = std::is_same<X, F>::value || std::is_same<X, D>::value;

// A sentinel value for every argument kind, so that a default that touched an argument is seen.
template <class X> void fill(X& v) {
    if constexpr (std::is_arithmetic<X>::value || std::is_enum<X>::value) {
        v = static_cast<X>(1);
    } else if constexpr (std::is_same<X, std::string>::value) {
        v = "kept";
    } else if constexpr (IsVector<X>::value) {
        v.resize(1);
        fill(v[0]);
    } else if constexpr (std::is_pointer<X>::value) {
        static std::remove_pointer_t<X> pointee;
        v = &pointee;
    } else if constexpr (isTriplet<X>) {
        v = X(1.5f, -2.5f, 3.25f);
    } else if constexpr (!std::is_same<X, orv::Geometry>::value) {
        fill(v.values); // TripletORVVector, IntORVVector
    }
}

// Equality, bit for bit for floating point values.
template <class X> bool same(const X& a, const X& b) {
    if constexpr (IsVector<X>::value) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (!same(a[i], b[i])) {
                return false;
            }
        }
        return true;
    } else if constexpr (std::is_floating_point<X>::value) {
        return orvtest::sameBits(a, b);
    } else if constexpr (isTriplet<X>) {
        return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
    } else if constexpr (std::is_same<X, P>::value || std::is_same<X, E>::value) {
        return same(a.first, b.first) && same(a.second, b.second);
    } else if constexpr (std::is_same<X, orv::Geometry>::value) {
        return true;
    } else if constexpr (std::is_class<X>::value && !std::is_same<X, std::string>::value) {
        return same(a.values, b.values);
    } else {
        return a == b;
    }
}

template <class Tuple, std::size_t... N>
bool sameTuple(const Tuple& a, const Tuple& b, std::index_sequence<N...>) {
    return (true && ... && same(std::get<N>(a), std::get<N>(b)));
}

template <class M> struct Signature;
template <class R, class... A> struct Signature<R (K::*)(A...)> {
    using Result = R;
    using Args = std::tuple<std::remove_cv_t<std::remove_reference_t<A>>...>;
};

// Calls the operation on a kernel that overrides nothing with sentinel arguments: true when the
// result is the default (a value-initialised result: empty, 0, false, null, (0, 0, 0)) and every
// argument still holds its sentinel.
template <auto M> bool keepsDefault() {
    using Sig = Signature<decltype(M)>;
    typename Sig::Args args, sentinels;
    std::apply([](auto&... a) { (fill(a), ...); }, args);
    std::apply([](auto&... a) { (fill(a), ...); }, sentinels);
    orvtest::PlainKernel kernel;
    const auto call = [&](auto&... a) { return (kernel.*M)(a...); };
    bool resultIsDefault = true;
    if constexpr (std::is_void<typename Sig::Result>::value) {
        std::apply(call, args);
    } else {
        resultIsDefault = same(std::apply(call, args), typename Sig::Result());
    }
    return resultIsDefault &&
           sameTuple(args, sentinels,
                     std::make_index_sequence<std::tuple_size<decltype(args)>::value>());
}

struct Op {
    const char* name;
    long slot;
    bool (*keepsDefault)();
};

template <auto M> Op makeOp(const char* name) {
    return Op{name, slotOf(M), &keepsDefault<M>};
}

// The 168 operations in the order of the virtual table; the cast checks each exact signature. The
// Microsoft ABI check (msvc_vtable_check.py) reads this list and the kinds above as text: keep
// each entry and each kind in the form used here.
#define OP(R, name, args) makeOp<static_cast<R(K::*) args>(&K::name)>(#name)
const std::vector<Op>& operations() {
    // clang-format off
    static const std::vector<Op> ops{
        OP(T, createPoint, (S, F3, S)), OP(T, createPoint, (S, D3, S)),
        OP(T, createPointOnCurve, (S, S, double, S)),
        OP(T, createPointOnSurface, (S, S, double, double, S)), OP(T, createLine, (S, F3, F3, S)),
        OP(T, createUnstructuredLine, (S, VF3, S)),
        OP(T, createArcAboutAxis, (S, F3, F3, F3, double, double, S)),
        OP(T, createArcFrom3Points, (S, F3, F3, F3, S)), OP(D, getPointLocation, (S)),
        OP(V, createLoop, (S, VS, S)), OP(V, checkObjectExists, (Ty, VS, VShr)),
        OP(B, checkObjectExists, (Ty, S)), OP(B, checkObjectExists, (Ty, VS)),
        OP(T, createBSplineLine, (S, VF3, S)),
        OP(T, createBSplineLine, (S, VF3, int, int, F3, F3, int, int, S)),
        OP(T, createBSplineLine, (S, VD3, S)), OP(T, createBSplineLineCons, (S, VF3, S)),
        OP(T, createProjectedCurve, (S, VF3, S, S)),
        OP(T, createCurveBySurfaceIntersection, (S, S, S, S)),
        OP(T, createLinearBSplineLine, (S, D3, D3, S)), OP(T, createLinearBSplineLine, (S, VF3, S)),
        OP(T, createLinearBSplineLine, (S, VD3, S)),
        OP(T, createLinearBSplineLineUnstructured, (S, VF3, S)),
        OP(T, createUnstructuredCurveBySurfaceIntersection, (S, S, S, S)),
        OP(T, concatenateCurves, (S, VS, S)), OP(T, concatenateUnstructuredCurves, (S, VS, S, int)),
        OP(T, concatenateUnstructuredCurves, (S, VS, VF3p, S, int)),
        OP(V, createSurfaceEdges, (S, VSr)), OP(T, convertCurveUnstructuredToBspline, (S, S, S)),
        OP(T, simplifyCurve, (S, S, bool)), OP(T, simplifyCurve, (S, VF3r, S, bool)),
        OP(T, createBSplineSurface, (S, int, int, VF3, S)),
        OP(V, createBarsFromVertexLocations, (VF3, S)), OP(P, getNearestUV, (F3, S)),
        OP(P, getNearestUV, (S, S)), OP(V, createNodesAtVertexLocations, (VF3, S)),
        OP(V, createQuadsFromVertexLocations, (VF3, S)), OP(V, deleteAllGeometry, (Ty)),
        OP(V, deleteGeometry, (Ty, S)), OP(V, deleteGeometry, (Ty, VS)),
        OP(V, deleteGeometry, (Ty, int)), OP(V, deleteGeometryByFamily, (Ty, S)),
        OP(V, deleteFamily, (S)), OP(V, deleteCurveIfExist, (S)), OP(V, deletePointIfExist, (S)),
        OP(D, projectPointToCurve, (D3, int)), OP(D, projectPointToCurve, (D3, int, doubler)),
        OP(D, projectPointToCurve, (D3, VI, doubler)),
        OP(D, projectPointToCurve, (D3, VI, doubler, intr)), OP(D, projectPointToCurve, (D3, S)),
        OP(D, projectPointToCurve, (D3, S, doubler)),
        OP(D, projectPointToCurve, (D3, VS, doubler, intr)), OP(D, projectPointToCurve, (D3, VS)),
        OP(F, projectPointToCurve, (F3, S)), OP(F, projectPointToCurve, (F3, S, doubler)),
        OP(F, projectPointToCurve, (F3, S, doubler, F3r)), OP(F, projectPointToCurve, (F3, VS)),
        OP(F, projectPointToCurve, (F3, int)), OP(F, projectPointToCurve, (F3, int, doubler)),
        OP(D, projectPointToSurface, (D3, S)), OP(D, projectPointToSurface, (D3, VS)),
        OP(D, projectPointToSurface, (D3, VS, intr, doubler, doubler)),
        OP(D, projectPointToSurface, (D3, int)),
        OP(D, projectPointToSurface, (D3, int, doubler, doubler)),
        OP(V, projectPointToSurface, (VF3, VF3r, int, VDr, VDr)),
        OP(F, projectPointToSurface, (F3, S)), OP(F, projectPointToSurface, (F3, VS)),
        OP(F, projectPointToSurface, (F3, int)),
        OP(F, projectPointToSurface, (F3, int, doubler, doubler)),
        OP(F, projectPoint, (Ty, S, F3, F3)), OP(F, projectPoint, (Ty, VS, F3, F3)),
        OP(F, getSurfaceNormal, (F3, S)), OP(T, createLoftedSurface, (S, VS, double, S)),
        OP(T, createLoftedSurface, (VVF3, S, S, bool, VSr, CT, LT, S)),
        OP(T, createLoftedSurface, (VVF3, S, S, bool, VSr, CT, LT, bool, S)),
        OP(T, createFacettedLoftedSurface, (S, VS, double, S)), OP(V, readGeometryFile, (S)),
        OP(V, writeGeometryFile, (S)), OP(V, saveSurface, (S, S)),
        OP(V, saveSurfaceInParametricSpace, (S, S, int, int)),
        OP(V, saveSurfacePoints, (int, int, VF3, S)), OP(V, saveCurveCounted, (S, S)),
        OP(V, saveCurve, (S, S)), OP(V, deleteSurfaceIfExist, (S)),
        OP(T, loadCurveCounted, (S, S, S)), OP(V, deleteGeometryByFamilyIter, (S, bool)),
        OP(V, deleteGeometryByFamilyIter, (Ty, S, bool)), OP(V, reverseCurve, (S)),
        OP(V, clearGeometry, ()), OP(V, setEdgeLength, (float)),
        OP(V, setCurveEdgeLength, (S, float)), OP(V, setTriangulationTolerance, (float)),
        OP(f, getTriangulationTolerance, ()), OP(V, extendCurve, (S, float, int)),
        OP(B, checkFamilyExists, (S)), OP(T, projectCurve, (S, S, S, S)),
        OP(T, projectCurve, (S, S, int, float)), OP(f, getEdgeLength, ()),
        OP(V, extendSurface, (S, float, int)), OP(V, reparameterizeCurve, (S, double)),
        OP(f, getCurveLength, (S)), OP(V, reparameterizeSurface, (S, double)),
        OP(f, getCurveEdgeLength, (S)), OP(T, projectCurveTwoSurfaces, (S, S, S, bool)),
        OP(V, moveObjectsByRotation, (Ty, S, F3, F3, double)),
        OP(V, moveObjectsByRotation, (Ty, VS, F3, F3, double)),
        OP(V, moveObjectsByTranslation, (Ty, S, F3)), OP(V, moveObjectsByTranslation, (Ty, VS, F3)),
        OP(V, reverseDirection, (VVF3, VVF3r)), OP(V, sortPointsByNearest, (VF3r)),
        OP(d, getParAtPointOnCurve, (F3, S)), OP(d, getParAtPointOnCurve, (D3, S)),
        OP(f, getParAtPointOnCurve, (S, S)), OP(T, getFamilyForObject, (Ty, S)),
        OP(V, getCurve, (S, VF3r)), OP(V, getCurve, (S, VD3r)), OP(V, getCurve, (S, TVr, IVr)),
        OP(V, getCurveNames, (int, S, bool, VSr)),
        OP(V, getCurveNames, (int, S, bool, VSr, Sr, Sr)), OP(V, getObjectNumber, (Ty, VS, VIr)),
        OP(I, getObjectNumber, (Ty, S)), OP(T, getObjectsByTypeInFamily, (Ty, S)),
        OP(T, typeString, (Ty)), OP(I, getFamilyCount, ()), OP(C, getFamilyName, (int)),
        OP(I, getGeometryCount, (Ty)), OP(C, getGeometryName, (Ty, int)),
        OP(V, getGeometryByFamily, (Ty, S, VSr)), OP(T, getTypeString, (Ty)),
        OP(V, setFamily, (Ty, S, S)), OP(V, setFamily, (Ty, VS, S)),
        OP(V, setCurveEndPointNames, (S, S, S)), OP(V, setPointLocation, (S, F3)),
        OP(T, createRuledLoftedSurface, (S, VS, double, S)),
        OP(T, createSurfaceFrom2to4Curves, (S, VS, double, S)),
        OP(T, createSurfaceFrom4Curves, (S, VF3, VF3, VF3, VF3, double, S)),
        OP(T, createSurfaceOfRevolution, (S, S, F3, F3, double, double, S)),
        OP(T, createSurfaceByOffset, (S, float, S, S)), OP(T, duplicateObject, (S, Ty, S)),
        OP(V, getPointLocationsOnCurveAtParameter, (VD, D3, D3, S, VD3r)),
        OP(V, getPointLocationsOnCurveAtParameter, (VD, F3, F3, S, VF3r)),
        OP(F, getPointOnCurvePosition, (double, S)),
        OP(D, getPointLocationOnCurveAtParameter, (S, double)),
        OP(D, getPointLocationOnCurveAtParameter, (int, double)),
        OP(V, splitCurveAtPoint, (S, S, S, S, S)), OP(V, splitCurveAtPoint, (S, F3, S, S, S)),
        OP(V, splitCurveAtPoint, (S, F3, F3, S, S)), OP(d, getDistanceFromSurface, (S, F3)),
        OP(D, getPointOnSurfacePosition, (double, double, S)), OP(V, trimSurface, (S, S, S, S)),
        OP(E, getUnstructuredEndPoints, (S)),
        OP(V, trimSurfaceByCurve, (S, S, F3, bool, bool, bool)),
        OP(T, createParametricExtendedLoftedSurface, (VVF3, Sr, S, S, bool, VSr, Sr, Sr, bool, CT, LT, EM, float, bool, S)),
        OP(T, createParametricExtendedLoftedSurfaceStreamWise, (VVF3, Sr, S, S, bool, VSr, Sr, Sr, CT, LT, EM, float, S)),
        OP(B, surfacesIntersect, (S, S)), OP(V, intersectCurves, (D3, D3r, int, bool, S, S)),
        OP(T, renameObject, (Ty, S, S)), OP(V, drawCurve, (S, Geor)), OP(V, drawPoint, (S, Geor)),
        OP(V, setProjectionType, (PT, int)), OP(V, setProjectionType, (PT)),
        OP(J, getProjectionType, ()), OP(J, getProjectionType, (intr)),
        OP(V, drawSurface, (S, Geor)), OP(I, getGeometryFamily, (Ty, int)), OP(d, getTolerance, ()),
        OP(V, setTolerance, (double)), OP(V, printDatabaseState, ()),
    };
    // clang-format on
    return ops;
}

struct Extended : K {
    virtual void added();
};
struct ExtendedCurveKernel : orv::PCKernelInterface {
    virtual void added();
};

} // namespace

#define SKIP_UNLESS_ITANIUM()                                                                      \
    if (!kItaniumAbi) {                                                                            \
        GTEST_SKIP() << "virtual-table slots are read from member pointers of the Itanium C++ "    \
                        "ABI (GCC, Clang); this compiler uses another ABI";                        \
    }

TEST(KernelVirtualTable, EveryOperationHoldsItsSlotAfterTheDestructor) {
    SKIP_UNLESS_ITANIUM();
    const std::vector<Op>& ops = operations();
    ASSERT_EQ(ops.size(), 168u);
    // The destructor takes slots 0 and 1 (complete and deleting); operation n is in slot n + 1.
    for (std::size_t i = 0; i < ops.size(); ++i) {
        EXPECT_EQ(ops[i].slot, static_cast<long>(i) + 2)
            << "operation " << i + 1 << " " << ops[i].name;
    }
    // Nothing follows the 168th operation, and the curve kernel adds no virtual operation.
    EXPECT_EQ(slotOf(&Extended::added), 170);
    EXPECT_EQ(slotOf(&ExtendedCurveKernel::added), 170);
}

TEST(KernelInterfaceDefaults, APlainKernelGivesEveryDefaultAndTouchesNoArgument) {
    for (std::size_t i = 0; i < operations().size(); ++i) {
        EXPECT_TRUE(operations()[i].keepsDefault())
            << "operation " << i + 1 << " " << operations()[i].name;
    }
    orvtest::PlainKernel kernel;
    for (Ty t : {K::typePoint, K::typeCurve, K::typeSurface, K::typeLoop}) {
        EXPECT_EQ(kernel.typeString(t) + kernel.getTypeString(t), "");
    }
}
