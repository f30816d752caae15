#include "watcher/history_export.h"

#include <algorithm>

#include "sysinfo/csv_text.h"

namespace vx {

const char* HistoryUnitOf(int units) {
    switch (units) {
        case 0: return "KB/s";
        case 1: return "kbps";
        default: return "B/s";
    }
}

void WriteHistoryCsv(const Tsp_XYDataSeries& download, const Tsp_XYDataSeries& upload, int units, std::ostream& out) {
    const char* unit = HistoryUnitOf(units);
    out << "time,download (" << unit << "),upload (" << unit << ")\n";
    // Both series get a point every tick, at the same time.
    const int count = std::min(download.Count(), upload.Count());
    for (int i = 0; i < count; ++i)
        out << IsoDateTime(download.GetX(i)) << ',' << CsvNumber(download.GetY(i), 2) << ','
            << CsvNumber(upload.GetY(i), 2) << '\n';
}

std::string ExportHistoryCsv(const Tsp_XYDataSeries& download, const Tsp_XYDataSeries& upload, int units,
                             const std::string& path) {
    return WriteCsvFile(path, [&](std::ostream& out) { WriteHistoryCsv(download, upload, units, out); });
}

}  // namespace vx
