#ifndef ORV_PLATFORM_POINTFILE_H
#define ORV_PLATFORM_POINTFILE_H

#include "orv/foundation/TripletBase.h"
#include "orv/platform/PlatformExport.h"

#include <string>
#include <vector>

namespace orv {

// Writes a plain text point file that common tools (gnuplot, numpy.loadtxt, spreadsheets) read:
// each comment as a line starting with "# ", then one point per line as "x y z" with 17 significant
// digits (formatPointFileNumber), so that every double reads back to the same bits. The curve
// stores of the platform library write their files through here.
//
// A file that cannot be opened or written is refused with data::error (classLabel, operationLabel,
// "Can not write file '<fileName>'."); a file opened before the failure may be left partly written.
ORV_PLATFORM_API void writePointFile(const std::string& fileName,
                                     const std::vector<TripletBase<double>>& points,
                                     const std::vector<std::string>& comments,
                                     const std::string& classLabel,
                                     const std::string& operationLabel);

// A double as the point files write it: the text of printf's "%.17g" in the C locale ("1.5",
// "0.10000000149011612", "1e+300", "-0", "inf", "nan"), whatever locale the host has set.
ORV_PLATFORM_API std::string formatPointFileNumber(double value);

} // namespace orv

#endif
