#include "remote/exporter_scrape.h"

#include <curl/curl.h>

#include "transfer/curl_library.h"

namespace vx {
namespace {

struct TSink {
    std::string& Page;
    std::size_t Limit;
    bool& TooLarge;
};

std::size_t onData(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<TSink*>(user);
    const std::size_t length = size * count;
    if (length > sink->Limit - sink->Page.size()) {
        sink->TooLarge = true;
        return 0;  // ends the transfer
    }
    sink->Page.append(data, length);
    return length;
}

int onProgress(void* abort, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return abort && static_cast<const std::atomic<bool>*>(abort)->load() ? 1 : 0;
}

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

struct TExporterScraper::TFetch {
    bool Done = false;  // a whole page arrived (of any status)
    long Status = 0;
    std::string Error;
};

std::string FilteredExporterUrl(const std::string& url) {
    const auto fragment = url.find('#');
    const std::string base = url.substr(0, fragment);
    return base + (base.find('?') == std::string::npos ? "?" : "&") + "collect[]=netdev&collect[]=netclass";
}

TExporterScraper::TExporterScraper(TRemoteHost host, TScrapeLimits limits)
    : FHost(std::move(host)), FLimits(limits) {}

TExporterScraper::~TExporterScraper() {
    std::string error;
    if (const TCurlLibrary* lib = CurlLibrary(error); lib && FCurl) lib->easy_cleanup(FCurl);
}

TExporterScraper::TFetch TExporterScraper::fetch(const TCurlLibrary& lib, const std::string& url) {
    TFetch result;
    if (!FCurl) FCurl = lib.easy_init();
    CURL* curl = FCurl;
    if (!curl) {
        result.Error = "The download library could not start a transfer";
        return result;
    }
    FPage.clear();
    FTooLarge = false;
    TSink sink{FPage, FLimits.MaxPageBytes, FTooLarge};
    char detail[CURL_ERROR_SIZE] = {};
    curl_slist* headers = lib.slist_append(nullptr, "Accept: text/plain;version=0.0.4");
    const bool secure = startsWith(url, "https://");
    lib.easy_setopt(curl, CURLOPT_URL, url.c_str());
    lib.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    lib.easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    lib.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    lib.easy_setopt(curl, CURLOPT_MAXREDIRS, FLimits.MaxRedirects);
    lib.easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "gzip");
    lib.easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    lib.easy_setopt(curl, CURLOPT_USERAGENT, "Vantrix");
    lib.easy_setopt(curl, CURLOPT_TIMEOUT_MS, FLimits.TimeoutMs);
    lib.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, FLimits.TimeoutMs);
    lib.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib.easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(FLimits.MaxPageBytes));
    lib.easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onData);
    lib.easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    lib.easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
    lib.easy_setopt(curl, CURLOPT_NOPROGRESS, FAbort ? 0L : 1L);
    lib.easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &onProgress);
    lib.easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(FAbort));
    if (!FHost.UserName.empty()) {
        lib.easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        lib.easy_setopt(curl, CURLOPT_USERNAME, FHost.UserName.c_str());
        lib.easy_setopt(curl, CURLOPT_PASSWORD, FHost.Password.c_str());
    }
    if (!FHost.CaFile.empty()) lib.easy_setopt(curl, CURLOPT_CAINFO, FHost.CaFile.c_str());

    const CURLcode rc = lib.easy_perform(curl);
    lib.easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.Status);
    // Nothing of this request stays set: the buffers named are about to go.
    lib.easy_setopt(curl, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(nullptr));
    lib.easy_setopt(curl, CURLOPT_ERRORBUFFER, static_cast<char*>(nullptr));
    lib.easy_setopt(curl, CURLOPT_WRITEDATA, static_cast<void*>(nullptr));
    lib.slist_free_all(headers);
    const auto megabytes = std::to_string(FLimits.MaxPageBytes >> 20);
    if (FTooLarge || rc == CURLE_FILESIZE_EXCEEDED)
        result.Error = "The page is larger than " + megabytes + " MB";
    else if (rc == CURLE_ABORTED_BY_CALLBACK)
        result.Error = "Stopped";
    else if (rc == CURLE_OPERATION_TIMEDOUT)
        result.Error = "No whole page within " + std::to_string(FLimits.TimeoutMs) + " ms";
    else if (rc != CURLE_OK)
        result.Error = detail[0] ? detail : lib.easy_strerror(rc);
    else
        result.Done = true;
    return result;
}

TScrapeResult TExporterScraper::Scrape() {
    TScrapeResult result;
    if (!startsWith(FHost.Url, "http://") && !startsWith(FHost.Url, "https://")) {
        result.Error = "The address does not start with http:// or https://";
        return result;
    }
    const TCurlLibrary* lib = CurlLibrary(result.Error);
    if (!lib) return result;
    TFetch got;
    if (!FFilterRefused) {
        got = fetch(*lib, FilteredExporterUrl(FHost.Url));
        result.Filtered = true;
        // A collector it does not run: the whole page, now and from now on.
        FFilterRefused = got.Done && got.Status == 400;
    }
    if (FFilterRefused) {
        got = fetch(*lib, FHost.Url);
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
    result.PageBytes = FPage.size();
    TPromLimits promLimits;
    promLimits.MaxSamples = 4 * FLimits.MaxInterfaces + 1024;
    result.Reading = ReadExporterPage(ParsePromText(FPage, ExporterMetricNames(), promLimits), FLimits.MaxInterfaces);
    if (result.Reading.Interfaces.empty() && result.Reading.InvalidSeries == 0) {
        result.Error = "The page names no network interface";
        return result;
    }
    result.Ok = true;
    return result;
}

TScrapeResult ScrapeExporter(const TRemoteHost& host, const TScrapeLimits& limits) {
    return TExporterScraper(host, limits).Scrape();
}

}  // namespace vx
