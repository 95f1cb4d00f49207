#ifndef ORV_TESTS_MPFRORACLE_H
#define ORV_TESTS_MPFRORACLE_H

// The correctly rounded results (round to nearest, ties to even) of the mathematical functions,
// from MPFR, at double and float precision with their subnormal ranges. Only where the build found
// MPFR (ORV_HAVE_MPFR); tests that need it skip with a message otherwise.

#if defined(ORV_HAVE_MPFR)

#include <mpfr.h>

namespace orv_test {
namespace mpfr_oracle {

// An IEEE format for MPFR: its precision and exponent range (MPFR's exponents are those of a
// significand in [1/2, 1), one more than IEEE's).
struct Format {
    mpfr_prec_t precision;
    mpfr_exp_t emin; // exponent of the smallest subnormal's bit, plus one
    mpfr_exp_t emax;
};
constexpr Format kDouble{53, -1073, 1024};
constexpr Format kFloat{24, -148, 128};

// Sets the exponent range for one evaluation and puts the former one back.
class Range {
public:
    explicit Range(const Format& f) : m_emin(mpfr_get_emin()), m_emax(mpfr_get_emax()) {
        mpfr_set_emin(f.emin);
        mpfr_set_emax(f.emax);
    }
    ~Range() {
        mpfr_set_emin(m_emin);
        mpfr_set_emax(m_emax);
    }
    Range(const Range&) = delete;
    Range& operator=(const Range&) = delete;

private:
    mpfr_exp_t m_emin;
    mpfr_exp_t m_emax;
};

using Unary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using Binary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

inline double roundedDouble(Unary f, double x) {
    mpfr_t a, r;
    mpfr_init2(a, 53);
    mpfr_init2(r, 53);
    double result;
    {
        Range range(kDouble);
        mpfr_set_d(a, x, MPFR_RNDN);
        int t = f(r, a, MPFR_RNDN);
        t = mpfr_subnormalize(r, t, MPFR_RNDN);
        (void)t;
        result = mpfr_get_d(r, MPFR_RNDN);
    }
    mpfr_clear(a);
    mpfr_clear(r);
    return result;
}

inline double roundedDouble(Binary f, double y, double x) {
    mpfr_t a, b, r;
    mpfr_init2(a, 53);
    mpfr_init2(b, 53);
    mpfr_init2(r, 53);
    double result;
    {
        Range range(kDouble);
        mpfr_set_d(a, y, MPFR_RNDN);
        mpfr_set_d(b, x, MPFR_RNDN);
        int t = f(r, a, b, MPFR_RNDN);
        t = mpfr_subnormalize(r, t, MPFR_RNDN);
        (void)t;
        result = mpfr_get_d(r, MPFR_RNDN);
    }
    mpfr_clear(a);
    mpfr_clear(b);
    mpfr_clear(r);
    return result;
}

inline float roundedFloat(Unary f, float x) {
    mpfr_t a, r;
    mpfr_init2(a, 24);
    mpfr_init2(r, 24);
    float result;
    {
        Range range(kFloat);
        mpfr_set_flt(a, x, MPFR_RNDN);
        int t = f(r, a, MPFR_RNDN);
        t = mpfr_subnormalize(r, t, MPFR_RNDN);
        (void)t;
        result = mpfr_get_flt(r, MPFR_RNDN);
    }
    mpfr_clear(a);
    mpfr_clear(r);
    return result;
}

inline double atan2(double y, double x) {
    return roundedDouble(mpfr_atan2, y, x);
}
inline double acos(double x) {
    return roundedDouble(mpfr_acos, x);
}
inline double sin(double x) {
    return roundedDouble(mpfr_sin, x);
}
inline double cos(double x) {
    return roundedDouble(mpfr_cos, x);
}
inline float sinf(float x) {
    return roundedFloat(mpfr_sin, x);
}
inline float cosf(float x) {
    return roundedFloat(mpfr_cos, x);
}
inline double log1p(double x) {
    return roundedDouble(mpfr_log1p, x);
}
inline double expm1(double x) {
    return roundedDouble(mpfr_expm1, x);
}

} // namespace mpfr_oracle
} // namespace orv_test

#endif

#endif
