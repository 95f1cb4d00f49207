#include "orv/platform/ORVMatrix4.h"

#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

namespace orv {

namespace {

void setIdentity(float* e) {
    for (int i = 0; i < 16; ++i) {
        e[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
}

} // namespace

ORVMatrix4::ORVMatrix4() {
    setIdentity(m_e);
}

ORVMatrix4::ORVMatrix4(const ORVMatrix3base<float>& linear) {
    setIdentity(m_e);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            m_e[row * 4 + col] = linear(row, col);
        }
    }
}

void ORVMatrix4::setTranslationMatrix(const TripletBase<float>& t) {
    setIdentity(m_e);
    m_e[3] = t.x;
    m_e[7] = t.y;
    m_e[11] = t.z;
}

float ORVMatrix4::operator()(int row, int col) const {
    if (row < 0 || row > 3 || col < 0 || col > 3) {
        throwError<internal::error>("ORVMatrix4", "operator()",
                                    SystemMsg("Matrix index out of range."));
    }
    return m_e[row * 4 + col];
}

TripletBase<float> ORVMatrix4::transformPoint(const TripletBase<float>& p) const {
    float out[3];
    for (int row = 0; row < 3; ++row) {
        const float* e = m_e + row * 4;
        const float xx = e[0] * p.x;
        const float yy = e[1] * p.y;
        const float zz = e[2] * p.z;
        out[row] = ((xx + yy) + zz) + e[3];
    }
    return TripletBase<float>(out[0], out[1], out[2]);
}

ORVMatrix4 operator*(const ORVMatrix4& a, const ORVMatrix4& b) {
    ORVMatrix4 c;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const float p0 = a.m_e[i * 4 + 0] * b.m_e[0 * 4 + j];
            const float p1 = a.m_e[i * 4 + 1] * b.m_e[1 * 4 + j];
            const float p2 = a.m_e[i * 4 + 2] * b.m_e[2 * 4 + j];
            const float p3 = a.m_e[i * 4 + 3] * b.m_e[3 * 4 + j];
            c.m_e[i * 4 + j] = ((p0 + p1) + p2) + p3;
        }
    }
    return c;
}

} // namespace orv
