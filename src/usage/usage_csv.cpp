#include "usage/usage_csv.h"

#include "sysinfo/csv_text.h"

namespace vx {

void WriteUsageCsv(TUsageStore& store, std::ostream& out) {
    out << "interface,date,received_bytes,sent_bytes\n";
    store.ForEachDay([&out](const std::string& name, int day, const TUsageBytes& bytes) {
        out << CsvField(name) << ',' << IsoDay(day) << ',' << bytes.Received << ',' << bytes.Sent << '\n';
    });
}

std::string ExportUsageCsv(TUsageStore& store, const std::string& path) {
    return WriteCsvFile(path, [&store](std::ostream& out) { WriteUsageCsv(store, out); });
}

}  // namespace vx
