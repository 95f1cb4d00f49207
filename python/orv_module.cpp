// The compiled part of the Python package orv (orv._core): the rotation axis, the passage model,
// the theta turbo transform and the triangle toolkit of libORVRWGeometryTools over numpy arrays.
// The package's orv/__init__.py gives these names as orv.RotationAxis and so on; orv/__init__.pyi
// types them.
//
// Arrays (Arrays.h): points and records are numpy arrays of shape (N, 3); each function states the
// dtypes it takes and gives. Any other type, dtype or shape is refused with TypeError or
// ValueError naming what was expected; nothing is converted. Any memory layout is read.
//
// Threads. The objects cannot be changed from Python, and every conversion runs with the global
// interpreter lock released, so threads may convert parts of one mesh at the same time with the
// same objects. Objects pickle from the values they were built from (Module.h), so that process
// pools and dask.distributed workers get objects that give the same bits.
#include "Module.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace orvpy {

std::string floatText(double v) {
    if (std::isnan(v)) {
        return "float('nan')";
    }
    if (std::isinf(v)) {
        return v > 0 ? "float('inf')" : "float('-inf')";
    }
    return py::repr(py::float_(v)).cast<std::string>();
}

std::string tupleText(const Vec3& v) {
    return "(" + floatText(v[0]) + ", " + floatText(v[1]) + ", " + floatText(v[2]) + ")";
}

bool sameBits(const void* a, const void* b, std::size_t bytes) {
    return std::memcmp(a, b, bytes) == 0;
}

py::ssize_t bitsHash(const void* data, std::size_t bytes) {
    // FNV-1a over the bytes; -1 is not a hash in Python.
    std::uint64_t h = 14695981039346656037ull;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < bytes; ++i) {
        h = (h ^ p[i]) * 1099511628211ull;
    }
    const auto value = static_cast<py::ssize_t>(h >> 2);
    return value == -1 ? -2 : value;
}

namespace {

struct ErrorClasses {
    PyObject* error;
    PyObject* internal;
    PyObject* data;
    PyObject* invalid;
};
ErrorClasses errorClasses; // created once with the module, never freed

// Sets the Python exception of class cls for the library's exception.
void raise(PyObject* cls, const orv::Error& e) {
    py::object exc = py::reinterpret_borrow<py::object>(cls)(e.describe());
    exc.attr("class_label") = e.getClassLabel();
    exc.attr("operation_label") = e.getOperationLabel();
    exc.attr("message") = e.getMessage();
    exc.attr("error_type") = static_cast<int>(e.getErrorType());
    PyErr_SetObject(cls, exc.ptr());
}

PyObject* newError(py::module_& m, const char* name, PyObject* base, const char* doc) {
    PyObject* cls =
        PyErr_NewExceptionWithDoc((std::string("orv.") + name).c_str(), doc, base, nullptr);
    if (cls == nullptr) {
        throw py::error_already_set();
    }
    m.add_object(name, py::handle(cls));
    return cls;
}

void bindErrors(py::module_& m) {
    ErrorClasses& e = errorClasses;
    e.error =
        newError(m, "Error", PyExc_Exception,
                 "A refusal of the library; class_label, operation_label, message, error_type.");
    e.internal = newError(m, "InternalError", e.error, "A fault of the program or of its calls.");
    e.data = newError(m, "DataError", e.error, "A fault in the data passed.");
    e.invalid = newError(m, "DataInvalid", e.data, "Data refused as invalid.");
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) {
                std::rethrow_exception(p);
            }
        } catch (const orv::data::invalid& x) {
            raise(errorClasses.invalid, x);
        } catch (const orv::data::error& x) {
            raise(errorClasses.data, x);
        } catch (const orv::internal::error& x) {
            raise(errorClasses.internal, x);
        } catch (const orv::Error& x) {
            raise(errorClasses.error, x);
        }
    });
}

} // namespace

} // namespace orvpy

PYBIND11_MODULE(_core, m) {
    // Docstrings begin with their own signature line, which inspect.signature reads.
    pybind11::options options;
    options.disable_function_signatures();
    m.doc() = "The compiled part of the package orv (see orv.__doc__).";
    m.attr("__version__") = ORV_VERSION_STRING;
    orvpy::bindErrors(m);
    orvpy::bindRotationAxis(m);
    orvpy::bindTurbo(m);
    orvpy::bindTriangles(m);
    // The classes are known as orv.<name>, where pickle finds them.
    for (const char* name : {"RotationAxis", "TurboTransform", "ThetaTurboTransform"}) {
        m.attr(name).attr("__module__") = "orv";
    }
}
