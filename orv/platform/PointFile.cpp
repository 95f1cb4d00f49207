#include "orv/platform/PointFile.h"

#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

#include <cstdio>
#include <fstream>

namespace orv {

namespace {

void appendNumber(std::string& line, double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    line += buffer;
}

} // namespace

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
        appendNumber(text, p.x);
        text += ' ';
        appendNumber(text, p.y);
        text += ' ';
        appendNumber(text, p.z);
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
