#ifndef ORV_PYTHON_ARRAYS_H
#define ORV_PYTHON_ARRAYS_H

// numpy arrays in and out of the library's lists, for the module's bindings.
//
// An argument is checked for its type, dtype and shape before anything is read: a non-array or a
// dtype not accepted is a TypeError, a shape not accepted a ValueError, each naming the function,
// the argument and what was expected; nothing is converted. Any memory layout is read (strides of
// any sign, zero strides, unaligned data): the rows are copied into the library's records, the
// only work on top of the library's call. Results are new C-ordered arrays.

#include "ReservedList.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace orvpy {

namespace py = pybind11;

enum Accept { kFloat32 = 1, kFloat64 = 2, kEither = 3 };

inline std::string shapeText(const py::array& a) {
    std::string text = "(";
    for (py::ssize_t i = 0; i < a.ndim(); ++i) {
        text += (i ? ", " : "") + std::to_string(a.shape(i));
    }
    return text + (a.ndim() == 1 ? ",)" : ")");
}

inline bool isFloat32(const py::array& a) {
    return py::isinstance<py::array_t<float>>(a);
}

// The array behind obj once its type and dtype are accepted and its shape is `shape` (-1: any
// length), else TypeError or ValueError. `what` names the function and the argument, `shapeName`
// the shape as the messages show it ("(N, 3)"), `why` why one precision only is taken.
inline py::array checked(const py::object& obj, const char* what, const std::vector<int>& shape,
                         const char* shapeName, int accept, const char* why = "") {
    const std::string dtypes = accept == kEither    ? "float32 or float64"
                               : accept == kFloat32 ? "float32"
                                                    : "float64";
    if (!py::isinstance<py::array>(obj)) {
        throw py::type_error(std::string(what) + " must be a numpy array of " + dtypes +
                             ", shape " + shapeName + ", not " +
                             py::str(obj.get_type().attr("__name__")).cast<std::string>());
    }
    const py::array a = py::reinterpret_borrow<py::array>(obj);
    const bool ok = ((accept & kFloat32) && isFloat32(a)) ||
                    ((accept & kFloat64) && py::isinstance<py::array_t<double>>(a));
    if (!ok) {
        throw py::type_error(std::string(what) + " must be " + dtypes + why + ", not " +
                             py::str(a.dtype()).cast<std::string>());
    }
    bool shapeOk = a.ndim() == static_cast<py::ssize_t>(shape.size());
    for (std::size_t i = 0; shapeOk && i < shape.size(); ++i) {
        shapeOk = shape[i] < 0 || a.shape(static_cast<py::ssize_t>(i)) == shape[i];
    }
    if (!shapeOk) {
        throw py::value_error(std::string(what) + " must have shape " + shapeName + ", not " +
                              shapeText(a));
    }
    return a;
}

// An (N, cols) array of the accepted dtypes (curves: (K, 2)).
inline py::array rows(const py::object& obj, const char* what, int cols, int accept,
                      const char* why = "") {
    return checked(obj, what, {-1, cols}, cols == 2 ? "(K, 2)" : "(N, 3)", accept, why);
}

// Where an array's elements are, read with the interpreter lock held, so that they can be copied
// without it (the caller keeps the array alive).
struct View {
    const char* data;
    py::ssize_t rows, cols, rowStride, colStride;
    bool packed; // C order and aligned: the rows are the library's records as they lie in memory
};

inline View view(const py::array& a) {
    const int flags = a.flags();
    const bool packed = (flags & py::detail::npy_api::NPY_ARRAY_C_CONTIGUOUS_) &&
                        (flags & py::detail::npy_api::NPY_ARRAY_ALIGNED_);
    return View{static_cast<const char*>(a.data()), a.shape(0),
                a.ndim() > 1 ? a.shape(1) : 1,      a.strides(0),
                a.ndim() > 1 ? a.strides(1) : 0,    packed};
}

// Element j of row i (T the dtype), wherever it lies.
template <class T> T element(const View& v, py::ssize_t i, py::ssize_t j) {
    T value;
    std::memcpy(&value, v.data + i * v.rowStride + j * v.colStride, sizeof(T));
    return value;
}

// Rows first..first+m of the view into list, resized to m (Rec: v.cols components of T, packed).
template <class T, class Rec>
void copyRows(const View& v, py::ssize_t first, py::ssize_t m, std::vector<Rec>& list) {
    static_assert(std::is_trivially_copyable<Rec>::value, "records copied as bytes");
    if (v.packed) {
        const Rec* start = reinterpret_cast<const Rec*>(v.data) + first;
        list.assign(start, start + m);
        return;
    }
    list.resize(static_cast<std::size_t>(m));
    for (py::ssize_t i = 0; i < m; ++i) {
        for (py::ssize_t j = 0; j < v.cols; ++j) {
            std::memcpy(reinterpret_cast<char*>(&list[i]) + j * sizeof(T),
                        v.data + (first + i) * v.rowStride + j * v.colStride, sizeof(T));
        }
    }
}

// The rows as a list of the library's records.
template <class T, class Rec> std::vector<Rec> copyIn(const View& v) {
    std::vector<Rec> out = reserved<Rec>(v.rows);
    copyRows<T>(v, 0, v.rows, out);
    return out;
}

// An array of shape (N, cols) that owns the list, without a copy.
template <class T, class Rec> py::array toArray(std::vector<Rec>&& list, py::ssize_t cols) {
    static_assert(sizeof(Rec) % sizeof(T) == 0, "records of T");
    auto owned = std::make_unique<std::vector<Rec>>(std::move(list));
    const py::ssize_t n = static_cast<py::ssize_t>(owned->size());
    T* data = reinterpret_cast<T*>(owned->data());
    py::capsule owner(owned.get(), [](void* p) { delete static_cast<std::vector<Rec>*>(p); });
    owned.release();
    return py::array_t<T>({n, cols}, {cols * py::ssize_t(sizeof(T)), py::ssize_t(sizeof(T))}, data,
                          owner);
}

// Rows of the list calls whose element i depends on input element i alone, converted in chunks
// small enough to stay in cache: call(in, out) on lists of at most kChunk records of In, each
// chunk's records of Out copied into the returned (N, 3) array of TOut (Out: three TOut). The
// input is never copied whole, and the bits are those of one call on the whole list. Runs without
// the interpreter lock; a refusal leaves no result.
constexpr py::ssize_t kChunk = 8192;

template <class TIn, class In, class TOut, class Out, class Call>
py::object perElement(const View& v, Call call) {
    static_assert(sizeof(Out) == 3 * sizeof(TOut), "records of three components");
    py::array_t<TOut> result({v.rows, py::ssize_t(3)});
    TOut* dst = result.mutable_data();
    {
        py::gil_scoped_release unlocked;
        std::vector<In> in;
        std::vector<Out> out;
        in.reserve(static_cast<std::size_t>(std::min(v.rows, kChunk)));
        for (py::ssize_t first = 0; first < v.rows; first += kChunk) {
            const py::ssize_t m = std::min(kChunk, v.rows - first);
            copyRows<TIn>(v, first, m, in);
            call(in, out);
            std::memcpy(dst + 3 * first, out.data(), sizeof(Out) * std::size_t(m));
        }
    }
    return std::move(result);
}

// Runs f(view, T{}) for the precision of an (N, 3) array, T float or double.
template <class F>
py::object byPrecision(const py::object& obj, const char* what, F&& f, int accept = kEither,
                       const char* why = "") {
    const py::array a = rows(obj, what, 3, accept, why);
    if (isFloat32(a)) {
        return f(view(a), float{});
    }
    return f(view(a), double{});
}

} // namespace orvpy

#endif
