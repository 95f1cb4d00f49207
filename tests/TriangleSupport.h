#ifndef ORV_TESTS_TRIANGLESUPPORT_H
#define ORV_TESTS_TRIANGLESUPPORT_H

// Capture of what the triangle reports write to std::cout.

#include "TestSupport.h"

#include <cstdlib>
#include <iostream>
#include <sstream>

namespace orvtest {

// Redirects std::cout for its lifetime at the given precision; counts flushes, so that std::endl
// can be told from "\n".
class CoutCapture : public std::stringbuf {
public:
    explicit CoutCapture(int precision = 6)
        : m_old(std::cout.rdbuf(this)), m_precision(std::cout.precision(precision)) {}
    ~CoutCapture() override {
        std::cout.rdbuf(m_old);
        std::cout.precision(m_precision);
    }
    int flushes = 0;

protected:
    int sync() override { return ++flushes, 0; }

private:
    std::streambuf* m_old;
    std::streamsize m_precision;
};

// The numbers of the basic report printed at 17 digits (exact for doubles): A, B, C (0 to 8), a,
// b, c (9 to 11), area, perimeter, s, in-radius (12 to 15), in-centre (16 to 18), R A, R B, R C.
inline std::vector<double> reportNumbers(const orv::Triangle& t) {
    CoutCapture capture(17);
    t.testBasicLengths("");
    std::string text = capture.str();
    for (char& ch : text) {
        ch = (ch == ':' || ch == '(' || ch == ')' || ch == ',') ? ' ' : ch;
    }
    std::istringstream in(text);
    std::vector<double> values;
    for (std::string word; in >> word && values.size() < 22;) {
        char* end = nullptr;
        const double v = std::strtod(word.c_str(), &end);
        if (*end == '\0') {
            values.push_back(v);
        }
    }
    return values;
}

} // namespace orvtest

#endif
