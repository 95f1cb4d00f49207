#include "orv/platform/PointFile.h"

#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

#include <charconv>
#include <fstream>

namespace orv {

std::string formatPointFileNumber(double value) {
    // std::to_chars ignores the locale (printf follows the host's LC_NUMERIC and would write
    // "1,5" under a decimal-comma locale); with a precision it writes what "%.17g" writes in the
    // C locale. 17 significant digits and an exponent take at most 24 characters.
    char buffer[32];
    const std::to_chars_result end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
    return std::string(buffer, end.ptr);
}

void writePointFile(const std::string& fileName, const std::vector<TripletBase<double>>& points,
                    const std::vector<std::string>& comments, const std::string& classLabel,
                    const std::string& operationLabel) {
    std::ofstream out(fileName.c_str(), std::ios::out | std::ios::trunc);
    if (fileName.empty() || !out) {
        throwError<data::error>(classLabel, operationLabel,
                                SystemMsg("Can not write file '" + fileName + "'."));
    }
    std::string text;
    for (const std::string& comment : comments) {
        text += "# ";
        text += comment;
        text += '\n';
    }
    for (const TripletBase<double>& p : points) {
        text += formatPointFileNumber(p.x);
        text += ' ';
        text += formatPointFileNumber(p.y);
        text += ' ';
        text += formatPointFileNumber(p.z);
        text += '\n';
    }
    out << text;
    out.flush();
    if (!out) {
        throwError<data::error>(classLabel, operationLabel,
                                SystemMsg("Can not write file '" + fileName + "'."));
    }
}

} // namespace orv
