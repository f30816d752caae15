#pragma once

// A watcher's history as CSV: one row per point of its graph, the time in
// ISO 8601 local time and the download and upload rates as plotted.
//   time,download (KB/s),upload (KB/s)
//   2026-12-10T18:07:53,12.50,0.75

#include <ostream>
#include <string>

#include "plot/data_series.h"

namespace vx {

// The rate unit of the watcher's units (0 transfer, 1 speed).
const char* HistoryUnitOf(int units);
void WriteHistoryCsv(const Tsp_XYDataSeries& download, const Tsp_XYDataSeries& upload, int units, std::ostream& out);
// Writes the file; "" when done, else what went wrong.
std::string ExportHistoryCsv(const Tsp_XYDataSeries& download, const Tsp_XYDataSeries& upload, int units,
                             const std::string& path);

}  // namespace vx
