#pragma once

// One HTTP(S) transfer on its own thread: an update information page into
// memory, or an update file onto disk. It starts as soon as it exists;
// progress is handed to the GUI thread after every chunk, synchronously.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class QObject;

namespace vx {

struct TCurlLibrary;
class TDownloadThread;
// total = the response's Content-Length (0 when missing), soFar = bytes received.
using TDownloadProgress = std::function<void(TDownloadThread& sender, std::int64_t total, std::int64_t soFar)>;

struct TDownloadRequest {
    std::string URL;
    std::string AltURL;  // supplies the host when URL has none
    std::string UserName, Password;
    std::uint16_t Port = 80;
    std::string FileName;  // where file mode writes; empty means text mode
    TDownloadProgress Progress;
    // Text mode only: the page may hold at most this many bytes, and the
    // whole fetch may take at most this long (a server that trickles a
    // byte now and then cannot keep the check running).
    std::size_t MaxPageBytes = kMaxPageBytes;
    long PageTimeLimitSeconds = 60;

    static constexpr std::size_t kMaxPageBytes = 1 << 20;  // ample for a page of meta lines
};

class TDownloadThread {
public:
    // `gui` is an object of the GUI thread; progress runs in its thread.
    TDownloadThread(TDownloadRequest request, QObject* gui);
    ~TDownloadThread();  // aborts and joins
    TDownloadThread(const TDownloadThread&) = delete;
    TDownloadThread& operator=(const TDownloadThread&) = delete;

    // Asks the transfer to stop at its next chunk; it then fails without
    // error text.
    void Abort() { FAborting = true; }
    bool Terminated() const { return FTerminated; }

    // Valid once Terminated().
    bool Success() const { return FSuccess; }
    const std::string& Error() const { return FError; }
    const std::vector<std::string>& Info() const { return FInfo; }

private:
    void Run();
    bool Transfer();
    static std::size_t OnData(char* data, std::size_t size, std::size_t count, void* self);

    TDownloadRequest FRequest;
    QObject* FGui;
    std::atomic<bool> FAborting{false};
    std::atomic<bool> FTerminated{false};
    bool FSuccess = false;
    std::string FError;
    std::vector<std::string> FInfo;
    std::string FReceived;
    std::FILE* FFile = nullptr;
    std::string FPartial;  // the private temporary name the file is written under
    const TCurlLibrary* FCurlLib = nullptr;
    void* FCurl = nullptr;
    std::int64_t FFileSize = 0;
    std::int64_t FDownloadedSize = 0;
    bool FWriteFailed = false;
    std::thread FThread;
};

}  // namespace vx
