// Any text as an update information page, as it may come from the network:
// reading it must be safe, every value it gives is short and unquoted, and
// the version and address rules accept whatever it says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "about/update_page.h"
#include "about/update_url.h"
#include "about/update_version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = vx::SplitPageLines(text);
    for (const vx::TTagInfo& tags : {vx::TTagInfo{}, vx::TTagInfo{}.Prefixed("VX")}) {
        const vx::TUpdateValues v = vx::ParseUpdatePage(lines, tags);
        for (const std::string* value : {&v.ProductName, &v.ClientFileName, &v.ProductVersion, &v.Author, &v.EMail,
                                         &v.UpdateURL, &v.RedirectionURL, &v.RunParameters, &v.MD5, &v.Page})
            if (value->size() > 255 || value->find('"') != std::string::npos) std::abort();
        for (const vx::TVersionFormat format : {vx::vfStandard, vx::vfString, vx::vfNumber})
            if (vx::IsNewerVersion(v.ProductVersion, v.ProductVersion, format)) std::abort();  // never newer than itself
        const std::string page = vx::ProductPageUrl(v.RedirectionURL);
        (void)vx::RequestTargetOf(v.UpdateURL, page);
        (void)vx::DownloadUrl(v.UpdateURL, page);
    }
    return 0;
}
