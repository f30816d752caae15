#pragma once

// Asks the maker's update information page whether a newer version exists
// and, when the host agrees, downloads the update file and starts it. All
// transfer runs on a TDownloadThread; the caller's thread keeps processing
// its events while it waits, so the window stays alive and progress shows.

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "about/download_thread.h"
#include "about/update_page.h"
#include "about/update_version.h"

namespace vx {

struct TProductInfo {
    // The information page; "http://" is put in front of a text that names
    // neither "http://" nor "https://".
    void SetURL(const std::string& text);
    const std::string& URL() const { return FUrl; }

    std::string Version = "1.0";  // the running version
    TVersionFormat VersionFormat = vfStandard;

private:
    std::string FUrl = "http://";
};

enum TUpdateOption : unsigned { uoRunUpdate = 1, uoTerminate = 2, uoOverwrite = 4 };

class TUpdateCheck : public QObject {
    Q_OBJECT
public:
    explicit TUpdateCheck(QObject* owner = nullptr);
    ~TUpdateCheck() override;  // aborts a running transfer

    // The whole check; true only when an update file was downloaded.
    bool CheckForAnUpdate();
    void Abort();

    TTagInfo TagInfo;
    TProductInfo ProductInfo;
    std::string UserName, Password;
    unsigned Options = uoRunUpdate | uoTerminate;
    std::string TargetFolder;
    std::uint16_t HTTPPort = 80;
    bool Verified = true;  // whether a downloaded file may be started

    // What the last page read said.
    const TUpdateValues& Values() const { return FValues; }
    const std::string& DownloadError() const { return FDownloadError; }
    bool Active() const { return FActive; }
    const std::vector<std::string>& Info() const { return FInfo; }

    std::function<void(TUpdateCheck&)> OnBeforeGetInfo, OnAfterGetInfo, OnDownloadError, OnNoUpdateFound,
        OnCannotExecute;
    TDownloadProgress OnDownload;
    std::function<void(TUpdateCheck&, const std::string& current, const std::string& offered, bool& mayUpdate)>
        OnUpdateAvailable;
    std::function<void(TUpdateCheck&, std::string& fileName)> OnGetClientFileName;
    std::function<void(TUpdateCheck&, std::string& fileName, bool& overwrite)> OnClientFileExists;
    std::function<void(TUpdateCheck&, const std::string& fileName)> OnBeforeDownload, OnAfterDownload;

    // A chain of redirections longer than this is given up, so two pages
    // naming each other cannot keep the check busy forever.
    static constexpr int kMaxRedirections = 8;

private:
    bool GetInfo();
    bool GetUpdateFile();
    // Runs one transfer and waits for it; fills `worker`'s results.
    bool Download(const std::string& url, const std::string& fileName);
    void Fail(const std::string& text);
    void RunUpdate();

    TUpdateValues FValues;
    std::string FDownloadError;
    std::vector<std::string> FInfo;
    std::string FFileName;
    bool FActive = false;
    std::unique_ptr<TDownloadThread> FThread;
};

}  // namespace vx
