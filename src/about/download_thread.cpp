#include "about/download_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "transfer/curl_library.h"
#include "about/update_page.h"
#include "about/update_url.h"

namespace vx {
namespace {

// The read size of one chunk; progress is reported after each.
constexpr long kChunk = 1025;

struct SList {
    const TCurlLibrary& curl;
    curl_slist* list = nullptr;
    ~SList() { curl.slist_free_all(list); }
    void add(const char* line) { list = curl.slist_append(list, line); }
};

int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    // Called at least once a second even while nothing arrives, so an
    // abort is seen promptly on a stalled connection too.
    return *static_cast<std::atomic<bool>*>(self) ? 1 : 0;
}

}  // namespace

TDownloadThread::TDownloadThread(TDownloadRequest request, QObject* gui) : FRequest(std::move(request)), FGui(gui) {
    // Loaded here, on the creating thread, so that libcurl's global set-up
    // never runs on a worker.
    FCurlLib = CurlLibrary(FError);
    FThread = std::thread([this] { Run(); });
}

TDownloadThread::~TDownloadThread() {
    Abort();
    // The worker may be waiting for the GUI thread to take a progress
    // report; keep that thread's events moving until it has finished.
    if (FGui && QThread::currentThread() == FGui->thread())
        while (!FTerminated) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    FThread.join();
}

void TDownloadThread::Run() {
    FSuccess = Transfer();
    if (FSuccess && FRequest.FileName.empty()) FInfo = SplitPageLines(FReceived);
    FReceived.clear();
    FTerminated = true;
    // Wakes a GUI thread that waits for more events.
    if (FGui) QMetaObject::invokeMethod(FGui, [] {}, Qt::QueuedConnection);
}

std::size_t TDownloadThread::OnData(char* data, std::size_t size, std::size_t count, void* raw) {
    auto* self = static_cast<TDownloadThread*>(raw);
    const std::size_t bytes = size * count;
    if (self->FAborting) return 0;
    if (self->FDownloadedSize == 0) {
        curl_off_t length = -1;
        self->FCurlLib->easy_getinfo(static_cast<CURL*>(self->FCurl), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        self->FFileSize = length > 0 ? length : 0;
    }
    if (self->FFile && self->FFileSize > 0 && self->FDownloadedSize + static_cast<std::int64_t>(bytes) > self->FFileSize) {
        self->FError = "The download is longer than announced: more than " + std::to_string(self->FFileSize) + " bytes";
        self->FWriteFailed = true;
        return 0;
    }
    if (!self->FFile && self->FReceived.size() + bytes > self->FRequest.MaxPageBytes) {
        self->FError = "The page is larger than " + std::to_string(self->FRequest.MaxPageBytes) + " bytes";
        self->FWriteFailed = true;
        return 0;
    }
    if (self->FFile) {
        if (std::fwrite(data, 1, bytes, self->FFile) != bytes) {
            self->FError = std::strerror(errno);
            self->FWriteFailed = true;
            return 0;
        }
    } else {
        self->FReceived.append(data, bytes);
    }
    self->FDownloadedSize += static_cast<std::int64_t>(bytes);
    if (self->FRequest.Progress && self->FGui) {
        const auto report = [self] { self->FRequest.Progress(*self, self->FFileSize, self->FDownloadedSize); };
        QMetaObject::invokeMethod(self->FGui, report,
                                  QThread::currentThread() == self->FGui->thread() ? Qt::DirectConnection
                                                                                     : Qt::BlockingQueuedConnection);
    }
    return bytes;
}

bool TDownloadThread::Transfer() {
    if (!FCurlLib) return false;  // FError says why
    const TRequestTarget target = RequestTargetOf(FRequest.URL, FRequest.AltURL);
    if (target.host.empty()) {
        FError = "No host in \"" + FRequest.URL + "\"";
        return false;
    }
    // The configured port is the plain-HTTP one; a secure page on the
    // default port goes to the HTTPS port.
    const long port = target.secure && FRequest.Port == 80 ? 443 : FRequest.Port;
    const std::string url = (target.secure ? "https://" : "http://") + target.host + target.path;

    const TCurlLibrary& lib = *FCurlLib;
    const bool toFile = !FRequest.FileName.empty();
    // The file appears under its name only once complete: a broken transfer
    // never leaves a partial update that could be started later. It is
    // written under a fresh private name in the target folder (created
    // exclusively, so a link planted there by someone else is never
    // followed), then renamed over the final name.
    if (toFile) {
        std::string pattern = FRequest.FileName + ".part-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            FError = FRequest.FileName + ".part: " + std::strerror(errno);
            return false;
        }
        ::fchmod(fd, 0644);  // an ordinary download, not a private file
        FPartial = pattern;
        if (!(FFile = ::fdopen(fd, "wb"))) {
            FError = FPartial + ": " + std::strerror(errno);
            ::close(fd);
            ::unlink(FPartial.c_str());
            return false;
        }
    }
    const std::string& partial = FPartial;

    CURL* curl = lib.easy_init();
    FCurl = curl;
    char detail[CURL_ERROR_SIZE] = {};
    SList headers{lib};
    headers.add("Accept: */*");
    headers.add("Pragma: no-cache");
    headers.add("Cache-Control: no-cache");
    lib.easy_setopt(curl, CURLOPT_URL, url.c_str());
    lib.easy_setopt(curl, CURLOPT_PORT, port);
    lib.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    // A secure page never continues over plain HTTP.
    lib.easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, target.secure ? "https" : "http,https");
    lib.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    lib.easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    lib.easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    lib.easy_setopt(curl, CURLOPT_USERAGENT, "TUpdateCheck");
    lib.easy_setopt(curl, CURLOPT_HTTPHEADER, headers.list);
    if (!FRequest.UserName.empty()) {
        lib.easy_setopt(curl, CURLOPT_USERNAME, FRequest.UserName.c_str());
        lib.easy_setopt(curl, CURLOPT_PASSWORD, FRequest.Password.c_str());
    }
    lib.easy_setopt(curl, CURLOPT_BUFFERSIZE, kChunk);
    lib.easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TDownloadThread::OnData);
    lib.easy_setopt(curl, CURLOPT_WRITEDATA, this);
    lib.easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    lib.easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &onProgress);
    lib.easy_setopt(curl, CURLOPT_XFERINFODATA, &FAborting);
    lib.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    // A connection that delivers nothing for a minute is given up.
    lib.easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    lib.easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
    lib.easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
    if (!toFile) lib.easy_setopt(curl, CURLOPT_TIMEOUT, FRequest.PageTimeLimitSeconds);

    const CURLcode rc = lib.easy_perform(curl);
    curl_off_t length = -1;
    lib.easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    lib.easy_cleanup(curl);
    FCurl = nullptr;

    bool ok = false;
    if (FAborting) {
        FError.clear();
    } else if (FWriteFailed) {
        // FError already names the refused write
    } else if (rc != CURLE_OK) {
        FError = detail[0] ? detail : lib.easy_strerror(rc);
    } else if (toFile && length < 0) {
        FError = "The server did not send the file's length";
    } else if (toFile && length != FDownloadedSize) {
        FError = "The download is incomplete: " + std::to_string(FDownloadedSize) + " of " +
                 std::to_string(length) + " bytes";
    } else if (!toFile && FDownloadedSize == 0) {
        FError = "The page is empty";
    } else {
        ok = true;
    }

    if (FFile) {
        if (std::fclose(FFile) != 0 && ok) {
            FError = partial + ": " + std::strerror(errno);
            ok = false;
        }
        FFile = nullptr;
        std::error_code ec;
        if (ok) {
            std::filesystem::rename(partial, FRequest.FileName, ec);
            if (ec) {
                FError = FRequest.FileName + ": " + ec.message();
                ok = false;
            }
        }
        if (!ok) std::filesystem::remove(partial, ec);
    }
    return ok;
}

}  // namespace vx
