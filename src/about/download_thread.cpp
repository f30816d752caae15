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

#include "about/curl_library.h"
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

TDownloadThread::TDownloadThread(TDownloadRequest request, QObject* gui) : request_(std::move(request)), gui_(gui) {
    // Loaded here, on the creating thread, so that libcurl's global set-up
    // never runs on a worker.
    curlLib_ = CurlLibrary(error_);
    thread_ = std::thread([this] { Run(); });
}

TDownloadThread::~TDownloadThread() {
    Abort();
    // The worker may be waiting for the GUI thread to take a progress
    // report; keep that thread's events moving until it has finished.
    if (gui_ && QThread::currentThread() == gui_->thread())
        while (!terminated_) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    thread_.join();
}

void TDownloadThread::Run() {
    success_ = Transfer();
    if (success_ && request_.FileName.empty()) info_ = SplitPageLines(received_);
    received_.clear();
    terminated_ = true;
    // Wakes a GUI thread that waits for more events.
    if (gui_) QMetaObject::invokeMethod(gui_, [] {}, Qt::QueuedConnection);
}

std::size_t TDownloadThread::OnData(char* data, std::size_t size, std::size_t count, void* raw) {
    auto* self = static_cast<TDownloadThread*>(raw);
    const std::size_t bytes = size * count;
    if (self->aborting_) return 0;
    if (self->downloadedSize_ == 0) {
        curl_off_t length = -1;
        self->curlLib_->easy_getinfo(static_cast<CURL*>(self->curl_), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        self->fileSize_ = length > 0 ? length : 0;
    }
    if (self->file_ && self->fileSize_ > 0 && self->downloadedSize_ + static_cast<std::int64_t>(bytes) > self->fileSize_) {
        self->error_ = "The download is longer than announced: more than " + std::to_string(self->fileSize_) + " bytes";
        self->writeFailed_ = true;
        return 0;
    }
    if (!self->file_ && self->received_.size() + bytes > self->request_.MaxPageBytes) {
        self->error_ = "The page is larger than " + std::to_string(self->request_.MaxPageBytes) + " bytes";
        self->writeFailed_ = true;
        return 0;
    }
    if (self->file_) {
        if (std::fwrite(data, 1, bytes, self->file_) != bytes) {
            self->error_ = std::strerror(errno);
            self->writeFailed_ = true;
            return 0;
        }
    } else {
        self->received_.append(data, bytes);
    }
    self->downloadedSize_ += static_cast<std::int64_t>(bytes);
    if (self->request_.Progress && self->gui_) {
        const auto report = [self] { self->request_.Progress(*self, self->fileSize_, self->downloadedSize_); };
        QMetaObject::invokeMethod(self->gui_, report,
                                  QThread::currentThread() == self->gui_->thread() ? Qt::DirectConnection
                                                                                     : Qt::BlockingQueuedConnection);
    }
    return bytes;
}

bool TDownloadThread::Transfer() {
    if (!curlLib_) return false;  // error_ says why
    const TRequestTarget target = RequestTargetOf(request_.URL, request_.AltURL);
    if (target.host.empty()) {
        error_ = "No host in \"" + request_.URL + "\"";
        return false;
    }
    // The configured port is the plain-HTTP one; a secure page on the
    // default port goes to the HTTPS port.
    const long port = target.secure && request_.Port == 80 ? 443 : request_.Port;
    const std::string url = (target.secure ? "https://" : "http://") + target.host + target.path;

    const TCurlLibrary& lib = *curlLib_;
    const bool toFile = !request_.FileName.empty();
    // The file appears under its name only once complete: a broken transfer
    // never leaves a partial update that could be started later. It is
    // written under a fresh private name in the target folder (created
    // exclusively, so a link planted there by someone else is never
    // followed), then renamed over the final name.
    if (toFile) {
        std::string pattern = request_.FileName + ".part-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            error_ = request_.FileName + ".part: " + std::strerror(errno);
            return false;
        }
        ::fchmod(fd, 0644);  // an ordinary download, not a private file
        partial_ = pattern;
        if (!(file_ = ::fdopen(fd, "wb"))) {
            error_ = partial_ + ": " + std::strerror(errno);
            ::close(fd);
            ::unlink(partial_.c_str());
            return false;
        }
    }
    const std::string& partial = partial_;

    CURL* curl = lib.easy_init();
    curl_ = curl;
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
    if (!request_.UserName.empty()) {
        lib.easy_setopt(curl, CURLOPT_USERNAME, request_.UserName.c_str());
        lib.easy_setopt(curl, CURLOPT_PASSWORD, request_.Password.c_str());
    }
    lib.easy_setopt(curl, CURLOPT_BUFFERSIZE, kChunk);
    lib.easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TDownloadThread::OnData);
    lib.easy_setopt(curl, CURLOPT_WRITEDATA, this);
    lib.easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    lib.easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &onProgress);
    lib.easy_setopt(curl, CURLOPT_XFERINFODATA, &aborting_);
    lib.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    // A connection that delivers nothing for a minute is given up.
    lib.easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    lib.easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
    lib.easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
    if (!toFile) lib.easy_setopt(curl, CURLOPT_TIMEOUT, request_.PageTimeLimitSeconds);

    const CURLcode rc = lib.easy_perform(curl);
    curl_off_t length = -1;
    lib.easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    lib.easy_cleanup(curl);
    curl_ = nullptr;

    bool ok = false;
    if (aborting_) {
        error_.clear();
    } else if (writeFailed_) {
        // error_ already names the refused write
    } else if (rc != CURLE_OK) {
        error_ = detail[0] ? detail : lib.easy_strerror(rc);
    } else if (toFile && length < 0) {
        error_ = "The server did not send the file's length";
    } else if (toFile && length != downloadedSize_) {
        error_ = "The download is incomplete: " + std::to_string(downloadedSize_) + " of " +
                 std::to_string(length) + " bytes";
    } else if (!toFile && downloadedSize_ == 0) {
        error_ = "The page is empty";
    } else {
        ok = true;
    }

    if (file_) {
        if (std::fclose(file_) != 0 && ok) {
            error_ = partial + ": " + std::strerror(errno);
            ok = false;
        }
        file_ = nullptr;
        std::error_code ec;
        if (ok) {
            std::filesystem::rename(partial, request_.FileName, ec);
            if (ec) {
                error_ = request_.FileName + ": " + ec.message();
                ok = false;
            }
        }
        if (!ok) std::filesystem::remove(partial, ec);
    }
    return ok;
}

}  // namespace vx
