#include "usage/usage_csv.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "sysinfo/csv_text.h"

namespace vx {

void WriteUsageCsv(TUsageStore& store, std::ostream& out) {
    out << "interface,date,received_bytes,sent_bytes\n";
    store.ForEachDay([&out](const std::string& name, int day, const TUsageBytes& bytes) {
        out << CsvField(name) << ',' << IsoDay(day) << ',' << bytes.Received << ',' << bytes.Sent << '\n';
    });
}

std::string ExportUsageCsv(TUsageStore& store, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return "Unable to write to " + path + ": " + std::strerror(errno);
    WriteUsageCsv(store, out);
    out.close();
    if (!out) return "Unable to write to " + path;
    return {};
}

}  // namespace vx
