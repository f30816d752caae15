#pragma once

// The usage history as CSV: one row per interface and day.
//   interface,date,received_bytes,sent_bytes
//   eth0,2026-12-10,123456,7890

#include <ostream>
#include <string>

#include "usage/usage_store.h"

namespace vx {

void WriteUsageCsv(TUsageStore& store, std::ostream& out);
// Writes the file; "" when done, else what went wrong.
std::string ExportUsageCsv(TUsageStore& store, const std::string& path);

}  // namespace vx
