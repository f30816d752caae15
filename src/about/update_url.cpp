#include "about/update_url.h"

#include <QUrl>
#include <string_view>

namespace vx {
namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string_view withoutScheme(std::string_view url) {
    if (startsWithNoCase(url, kHttp)) url.remove_prefix(kHttp.size());
    else if (startsWithNoCase(url, kHttps)) url.remove_prefix(kHttps.size());
    return url;
}

}  // namespace

std::string ProductPageUrl(const std::string& text) {
    if (startsWithNoCase(text, kHttp) || startsWithNoCase(text, kHttps)) return text;
    return std::string(kHttp) + text;
}

TRequestTarget RequestTargetOf(const std::string& url, const std::string& fallbackUrl) {
    TRequestTarget target;
    target.secure = startsWithNoCase(url, kHttps);
    const std::string_view rest = withoutScheme(url);
    const std::size_t slash = rest.find('/');
    if (slash != std::string_view::npos && slash > 0) {
        target.host = std::string(rest.substr(0, slash));
        target.path = std::string(rest.substr(slash));
        return target;
    }
    // No host part: the request goes to the product page's host; a bare
    // name without any "/" asks for that host's root.
    const std::string_view fallback = withoutScheme(fallbackUrl);
    target.host = std::string(fallback.substr(0, fallback.find('/')));
    target.path = slash == std::string_view::npos ? "/" : std::string(rest);
    return target;
}

std::string DownloadUrl(const std::string& downloadUrl, const std::string& productUrl) {
    if (downloadUrl.find("http") != std::string::npos) return downloadUrl;
    const std::size_t slash = productUrl.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : productUrl.substr(0, slash + 1);
    return folder + downloadUrl;
}

}  // namespace vx

namespace vx {

bool IsLinkOnHomeHost(const std::string& link, const std::string& homePage) {
    const QUrl url(QString::fromStdString(link), QUrl::StrictMode);
    const QUrl home(QString::fromStdString(homePage), QUrl::StrictMode);
    const auto web = [](const QUrl& u) { return u.scheme() == u"http" || u.scheme() == u"https"; };
    return url.isValid() && home.isValid() && web(url) && web(home) && !url.host().isEmpty() &&
           url.host() == home.host();
}

}  // namespace vx
