#include "remote/exporter_scrape.h"

#include <curl/curl.h>

#include "transfer/curl_library.h"

namespace vx {
namespace {

struct TPage {
    std::string Text;
    std::size_t Limit = 0;
    bool TooLarge = false;
};

std::size_t onData(char* data, std::size_t size, std::size_t count, void* user) {
    auto* page = static_cast<TPage*>(user);
    const std::size_t length = size * count;
    if (length > page->Limit - page->Text.size()) {
        page->TooLarge = true;
        return 0;  // ends the transfer
    }
    page->Text.append(data, length);
    return length;
}

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

struct TFetch {
    bool Done = false;  // a whole page arrived (of any status)
    long Status = 0;
    std::string Error;
};

TFetch fetch(const TCurlLibrary& lib, const std::string& url, const TRemoteHost& host, const TScrapeLimits& limits,
             TPage& page) {
    TFetch result;
    CURL* curl = lib.easy_init();
    if (!curl) {
        result.Error = "The download library could not start a transfer";
        return result;
    }
    char detail[CURL_ERROR_SIZE] = {};
    curl_slist* headers = lib.slist_append(nullptr, "Accept: text/plain;version=0.0.4");
    const bool secure = startsWith(url, "https://");
    lib.easy_setopt(curl, CURLOPT_URL, url.c_str());
    lib.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    lib.easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    lib.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    lib.easy_setopt(curl, CURLOPT_MAXREDIRS, limits.MaxRedirects);
    lib.easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "gzip");
    lib.easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    lib.easy_setopt(curl, CURLOPT_USERAGENT, "Vantrix");
    lib.easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.TimeoutMs);
    lib.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.TimeoutMs);
    lib.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib.easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.MaxPageBytes));
    lib.easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onData);
    lib.easy_setopt(curl, CURLOPT_WRITEDATA, &page);
    lib.easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
    if (!host.UserName.empty()) {
        lib.easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        lib.easy_setopt(curl, CURLOPT_USERNAME, host.UserName.c_str());
        lib.easy_setopt(curl, CURLOPT_PASSWORD, host.Password.c_str());
    }
    if (!host.CaFile.empty()) lib.easy_setopt(curl, CURLOPT_CAINFO, host.CaFile.c_str());

    const CURLcode rc = lib.easy_perform(curl);
    lib.easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.Status);
    lib.easy_cleanup(curl);
    lib.slist_free_all(headers);
    const auto megabytes = std::to_string(limits.MaxPageBytes >> 20);
    if (page.TooLarge || rc == CURLE_FILESIZE_EXCEEDED)
        result.Error = "The page is larger than " + megabytes + " MB";
    else if (rc == CURLE_OPERATION_TIMEDOUT)
        result.Error = "No whole page within " + std::to_string(limits.TimeoutMs) + " ms";
    else if (rc != CURLE_OK)
        result.Error = detail[0] ? detail : lib.easy_strerror(rc);
    else
        result.Done = true;
    return result;
}

}  // namespace

std::string FilteredExporterUrl(const std::string& url) {
    const auto fragment = url.find('#');
    const std::string base = url.substr(0, fragment);
    return base + (base.find('?') == std::string::npos ? "?" : "&") + "collect[]=netdev&collect[]=netclass";
}

TScrapeResult ScrapeExporter(const TRemoteHost& host, const TScrapeLimits& limits) {
    TScrapeResult result;
    if (!startsWith(host.Url, "http://") && !startsWith(host.Url, "https://")) {
        result.Error = "The address does not start with http:// or https://";
        return result;
    }
    std::string error;
    const TCurlLibrary* lib = CurlLibrary(error);
    if (!lib) {
        result.Error = error;
        return result;
    }
    TPage page;
    page.Limit = limits.MaxPageBytes;
    TFetch got = fetch(*lib, FilteredExporterUrl(host.Url), host, limits, page);
    result.Filtered = true;
    if (got.Done && got.Status == 400) {  // a collector it does not run: the whole page then
        page = TPage{{}, limits.MaxPageBytes, false};
        got = fetch(*lib, host.Url, host, limits, page);
        result.Filtered = false;
    }
    if (!got.Done) {
        result.Error = got.Error;
        return result;
    }
    if (got.Status != 200) {
        result.Error = "The exporter answered HTTP " + std::to_string(got.Status);
        return result;
    }
    result.PageBytes = page.Text.size();
    TPromLimits promLimits;
    promLimits.MaxSamples = 4 * limits.MaxInterfaces + 1024;
    const TPromPage parsed = ParsePromText(page.Text, ExporterMetricNames(), promLimits);
    result.Reading = ReadExporterPage(parsed, limits.MaxInterfaces);
    if (result.Reading.Interfaces.empty() && result.Reading.InvalidSeries == 0) {
        result.Error = "The page names no network interface";
        return result;
    }
    result.Ok = true;
    return result;
}

}  // namespace vx
