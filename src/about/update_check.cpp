#include "about/update_check.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QUrl>

#include <filesystem>

#include "about/update_url.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

QString md5Of(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

}  // namespace

void TProductInfo::SetURL(const std::string& text) { url_ = ProductPageUrl(text); }

TUpdateCheck::TUpdateCheck(QObject* owner) : QObject(owner) {}

TUpdateCheck::~TUpdateCheck() {
    Abort();
    thread_.reset();
}

void TUpdateCheck::Abort() {
    if (thread_) thread_->Abort();
}

void TUpdateCheck::Fail(const std::string& text) {
    downloadError_ = text;
    if (OnDownloadError) OnDownloadError(*this);
}

bool TUpdateCheck::Download(const std::string& url, const std::string& fileName) {
    TDownloadRequest request{url, ProductInfo.URL(), UserName, Password, HTTPPort, fileName, OnDownload};
    thread_ = std::make_unique<TDownloadThread>(std::move(request), this);
    // The worker posts an event when it ends, so waiting for more events
    // neither spins nor misses the end.
    while (!thread_->Terminated()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const bool ok = thread_->Success();
    if (ok) info_ = thread_->Info();
    else downloadError_ = thread_->Error();
    thread_.reset();
    return ok;
}

bool TUpdateCheck::GetInfo() {
    for (int pages = 0;; ++pages) {
        const std::string url = values_.RedirectionURL.empty() ? ProductInfo.URL() : values_.RedirectionURL;
        values_ = {};
        if (pages > kMaxRedirections) {
            Fail("Too many redirections");
            return false;
        }
        std::vector<std::string> previous = std::move(info_);
        if (!Download(url, {})) {
            info_ = std::move(previous);
            Fail(downloadError_);
            return false;
        }
        values_ = ParseUpdatePage(info_, TagInfo);
        if (values_.RedirectionURL.empty()) return true;
    }
}

bool TUpdateCheck::GetUpdateFile() {
    downloadError_ = "GetUpdateFile";
    // Only the name part of what the page says: a page must not be able to
    // place files outside the chosen folder.
    const fs::path name = fs::path(values_.ClientFileName).filename();
    if (name.empty() || name == "." || name == "..") {
        Fail("No file name for the update");
        return false;
    }
    std::error_code ec;
    const fs::path folder = !TargetFolder.empty() && fs::is_directory(TargetFolder, ec) ? fs::path(TargetFolder)
                                                                                       : fs::temp_directory_path(ec);
    std::string path = (folder / name).string();
    if (OnGetClientFileName) OnGetClientFileName(*this, path);
    if (fs::exists(path, ec)) {
        bool overwrite = (Options & uoOverwrite) != 0;
        if (OnClientFileExists) OnClientFileExists(*this, path, overwrite);
        if (!overwrite) {
            Fail("Overwrite error");
            return false;
        }
    }
    downloadError_ = "Download started";
    if (OnBeforeDownload) OnBeforeDownload(*this, path);
    if (!Download(DownloadUrl(values_.UpdateURL, ProductInfo.URL()), path)) {
        Fail(downloadError_);
        return false;
    }
    fileName_ = path;
    if (OnAfterDownload) OnAfterDownload(*this, path);
    return true;
}

void TUpdateCheck::RunUpdate() {
    // A checksum on the page that the file does not match means the file is
    // not the one the page describes: it is never started.
    if (!values_.MD5.empty() && md5Of(fileName_).compare(QString::fromStdString(values_.MD5), Qt::CaseInsensitive) != 0) {
        Verified = false;
        // Nor is it left in the folder, where it could be started by hand.
        std::error_code ec;
        fs::remove(fileName_, ec);
    }
    bool started = false;
    if (Verified) {
        const QString file = QString::fromStdString(fileName_);
        started = QFileInfo(file).isExecutable()
                      ? QProcess::startDetached(file, QProcess::splitCommand(QString::fromStdString(values_.RunParameters)))
                      : QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    }
    if (!started && OnCannotExecute) OnCannotExecute(*this);
}

bool TUpdateCheck::CheckForAnUpdate() {
    if (active_) return false;
    active_ = true;
    values_.RedirectionURL.clear();
    if (OnBeforeGetInfo) OnBeforeGetInfo(*this);
    bool ok = GetInfo();
    if (OnAfterGetInfo) OnAfterGetInfo(*this);
    if (values_.ProductName.empty() || values_.ProductVersion.empty()) {
        Fail("empty info");
        ok = false;
    }
    if (ok) {
        if (IsNewerVersion(ProductInfo.Version, values_.ProductVersion, ProductInfo.VersionFormat)) {
            bool mayUpdate = true;
            if (OnUpdateAvailable) OnUpdateAvailable(*this, ProductInfo.Version, values_.ProductVersion, mayUpdate);
            if (mayUpdate && GetUpdateFile()) {
                if (Options & uoRunUpdate) RunUpdate();
                active_ = false;
                if (Options & uoTerminate) QCoreApplication::quit();
                return true;
            }
        } else if (OnNoUpdateFound) {
            OnNoUpdateFound(*this);
        }
    }
    active_ = false;
    return false;
}

}  // namespace vx
