#include "appnet/appnet_protocol.h"

#include <sstream>

namespace vx {
namespace {

constexpr std::pair<TRowKind, const char*> kKinds[] = {
    {TRowKind::Application, "app"},     {TRowKind::UserService, "user-service"},
    {TRowKind::Session, "session"},     {TRowKind::SystemService, "service"},
    {TRowKind::OtherUsers, "other-users"}, {TRowKind::System, "system"},
};

std::string printable(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return out;
}

}  // namespace

std::string FormatAppNetAnswer(const std::string& instance, const std::vector<TTrafficRow>& rows) {
    std::ostringstream out;
    out << "VANTRIX-APPNET 1 " << printable(instance) << '\n';
    for (const TTrafficRow& r : rows) {
        const char* kind = "system";
        for (const auto& [k, word] : kKinds)
            if (k == r.Kind) kind = word;
        out << kind << ' ' << r.Totals.ReceivedBytes << ' ' << r.Totals.SentBytes << ' ' << r.Totals.ReceivedPackets
            << ' ' << r.Totals.SentPackets << ' ' << printable(r.Id) << '\n';
        for (const std::string& path : r.Cgroups) out << "cgroup " << printable(path) << '\n';
    }
    out << "END\n";
    return out.str();
}

std::optional<TAppNetAnswer> ParseAppNetAnswer(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::string line;
    if (!std::getline(in, line) || !line.starts_with("VANTRIX-APPNET 1 ")) return std::nullopt;
    TAppNetAnswer answer;
    answer.Instance = line.substr(17);
    while (std::getline(in, line)) {
        if (line == "END") return answer;
        if (line.starts_with("cgroup ")) {
            if (answer.Rows.empty()) return std::nullopt;
            answer.Rows.back().Cgroups.push_back(line.substr(7));
            continue;
        }
        std::istringstream fields(line);
        std::string word;
        TTrafficRow row;
        if (!(fields >> word >> row.Totals.ReceivedBytes >> row.Totals.SentBytes >> row.Totals.ReceivedPackets >>
              row.Totals.SentPackets))
            return std::nullopt;
        bool known = false;
        for (const auto& [k, w] : kKinds)
            if (word == w) {
                row.Kind = k;
                known = true;
            }
        if (!known) return std::nullopt;
        fields.get();  // the blank before the id
        std::getline(fields, row.Id);
        answer.Rows.push_back(std::move(row));
    }
    return std::nullopt;  // no END: cut short
}

}  // namespace vx
