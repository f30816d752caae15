#pragma once

// One scrape of a host's exporter over HTTP or HTTPS, blocking (it runs on
// a poller's thread): it asks for the network collectors only
// ("?collect[]=netdev&collect[]=netclass") and, when the exporter refuses
// that filter (HTTP 400: a collector it does not run), for the whole page.
// gzip is accepted; TLS is verified (against the host's CA file when one
// is set); at most a few redirects, never from https to http, and
// credentials only to the host named. A page larger than the limit, one
// that does not end, or one that trickles in all fail at the limit or the
// time limit, with a message saying which.

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "remote/exporter_reading.h"

namespace vx {

struct TCurlLibrary;

struct TRemoteHost {
    std::string Name;  // as the user calls it
    std::string Url;   // the exporter's metrics page
    std::string UserName, Password;  // basic authentication, when a user name is set
    std::string CaFile;              // the certificate authority to trust, when set
    std::vector<std::string> Watched{};  // the devices whose watcher panels are open
};

struct TScrapeLimits {
    long TimeoutMs = 2000;                  // each request, whole
    std::size_t MaxPageBytes = 16u << 20;  // after decompression
    std::size_t MaxInterfaces = 4096;
    long MaxRedirects = 5;
};

struct TScrapeResult {
    bool Ok = false;
    std::string Error;  // why not, in a sentence
    TExporterReading Reading;
    std::size_t PageBytes = 0;
    bool Filtered = false;  // the exporter sent the network collectors only
};

// The metrics page's address asking for the network collectors only.
std::string FilteredExporterUrl(const std::string& url);

// Scrapes one host again and again over one kept connection (an HTTP
// keep-alive, a TLS session): a scrape then costs a request, not a
// connection. Remembers an exporter that refused the filter. Used from one
// thread at a time.
class TExporterScraper {
public:
    explicit TExporterScraper(TRemoteHost host, TScrapeLimits limits = {});
    ~TExporterScraper();
    TExporterScraper(const TExporterScraper&) = delete;
    TExporterScraper& operator=(const TExporterScraper&) = delete;

    const TRemoteHost& Host() const { return FHost; }
    TScrapeResult Scrape();
    // A transfer under way ends soon after `*abort` becomes true (another
    // thread may set it); the scrape then fails.
    void SetAbortFlag(const std::atomic<bool>* abort) { FAbort = abort; }

private:
    struct TFetch;
    TFetch fetch(const TCurlLibrary& lib, const std::string& url);

    TRemoteHost FHost;
    TScrapeLimits FLimits;
    void* FCurl = nullptr;  // the kept handle (CURL*)
    std::string FPage;
    bool FTooLarge = false;
    bool FFilterRefused = false;
    const std::atomic<bool>* FAbort = nullptr;
};

// One scrape on a connection of its own.
TScrapeResult ScrapeExporter(const TRemoteHost& host, const TScrapeLimits& limits = {});

}  // namespace vx
