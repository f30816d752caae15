#pragma once

// What the counter service and its clients say over the Unix socket. A
// client asks with one line, "TOTALS"; the service answers
//
//     VANTRIX-APPNET 1 <instance>
//     <kind> <received bytes> <sent bytes> <received packets> <sent packets> <id>
//     cgroup <path>                  (the asker's own rows: their live cgroups)
//     ...
//     END
//
// kind: app, user-service, session, service, other-users, system. The
// instance changes with every start of the service: totals are counted from
// its start, so a client that sees another instance knows the counts began
// anew. Control characters in ids and paths are sent as '?'.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appnet/traffic_rows.h"

namespace vx {

inline constexpr std::string_view kAppNetRequest = "TOTALS\n";
inline constexpr const char* kAppNetSocket = "/run/vantrix-appnet.sock";

struct TAppNetAnswer {
    std::string Instance;
    std::vector<TTrafficRow> Rows;
};

std::string FormatAppNetAnswer(const std::string& instance, const std::vector<TTrafficRow>& rows);
// Nothing when the text is no complete answer.
std::optional<TAppNetAnswer> ParseAppNetAnswer(std::string_view text);

}  // namespace vx
