#pragma once

// Addresses used by the update check: the information page's address as
// configured, the host and path a request goes to, and the download address
// relative to the page.

#include <string>

namespace vx {

// Puts "http://" in front unless the text already starts, in any case, with
// "http://" or "https://".
std::string ProductPageUrl(const std::string& text);

struct TRequestTarget {
    std::string host;
    std::string path;
    bool secure = false;
};

// The host and path of `url`; a URL without a host (no "/" after it) takes
// the host of `fallbackUrl`, the product page.
TRequestTarget RequestTargetOf(const std::string& url, const std::string& fallbackUrl);

// A download address that names no "http" scheme is relative to the folder
// of the product page.
std::string DownloadUrl(const std::string& downloadUrl, const std::string& productUrl);

// Whether `link` (a page's "Page" value appended to the home page) may be
// opened: an http or https address on the home page's own host.
bool IsLinkOnHomeHost(const std::string& link, const std::string& homePage);

}  // namespace vx
