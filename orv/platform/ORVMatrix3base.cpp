#include "orv/platform/ORVMatrix3base.h"

#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

namespace orv {

namespace {

int elementIndex(int row, int col) {
    if (row < 0 || row > 2 || col < 0 || col > 2) {
        throwError<internal::error>("ORVMatrix3base", "operator()",
                                    SystemMsg("Matrix index out of range."));
    }
    return row * 3 + col;
}

} // namespace

template <class T> ORVMatrix3base<T>::ORVMatrix3base() : m_e() {
    m_e[0] = T(1);
    m_e[4] = T(1);
    m_e[8] = T(1);
}

template <class T> T& ORVMatrix3base<T>::operator()(int row, int col) {
    return m_e[elementIndex(row, col)];
}

template <class T> T ORVMatrix3base<T>::operator()(int row, int col) const {
    return m_e[elementIndex(row, col)];
}

// The float form, exported through the class and the header's extern declaration.
template class ORVMatrix3base<float>;

} // namespace orv
