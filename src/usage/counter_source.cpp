#include "usage/counter_source.h"

#include <filesystem>
#include <fstream>
#include <set>

#include "netconfig/interface_kind.h"
#include "netconfig/link_facts.h"

namespace vx {

std::string UsageKeyOf(const std::uint8_t* permAddress, std::size_t length, const std::string& name) {
    bool any = false;
    for (std::size_t i = 0; i < length; ++i) any = any || permAddress[i] != 0;
    if (!any) return "name:" + name;
    static const char* const digits = "0123456789abcdef";
    std::string key = "hw:";
    for (std::size_t i = 0; i < length; ++i) {
        if (i) key += ':';
        key += digits[permAddress[i] >> 4];
        key += digits[permAddress[i] & 15];
    }
    return key;
}

void MakeUsageKeysUnique(std::vector<TUsageReading>& readings) {
    std::set<std::string> seen;
    for (TUsageReading& r : readings)
        if (!seen.insert(r.Key).second) r.Key = "name:" + r.Name;
}

namespace {

class TKernelCounterSource : public IUsageCounterSource {
public:
    explicit TKernelCounterSource(std::string bootIdFile) : bootIdFile_(std::move(bootIdFile)) {}

    bool Read(std::vector<TUsageReading>& out) override {
        out.clear();
        if (!query_.Dump(links_)) return false;
        for (const TLinkFacts& f : links_) {
            TUsageReading r;
            r.Index = f.index;
            r.Name = f.name.data();
            r.Key = UsageKeyOf(f.permAddress.data(), f.permAddressLength, r.Name);
            r.Counters = {f.rxBytes, f.txBytes};
            r.Physical = IsPhysical(ClassifyLink(r.Name, f.kind.data(), f.arpType, sysRoot_));
            out.push_back(std::move(r));
        }
        MakeUsageKeysUnique(out);
        return true;
    }

    std::string BootId() override {
        std::ifstream in(bootIdFile_);
        std::string id;
        std::getline(in, id);
        return id;
    }

private:
    std::string bootIdFile_;
    std::filesystem::path sysRoot_ = "/sys";
    TLinkQuery query_;
    std::vector<TLinkFacts> links_;
};

}  // namespace

std::unique_ptr<IUsageCounterSource> MakeKernelCounterSource(std::string bootIdFile) {
    return std::make_unique<TKernelCounterSource>(std::move(bootIdFile));
}

}  // namespace vx
