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

void TProductInfo::SetURL(const std::string& text) { FUrl = ProductPageUrl(text); }

TUpdateCheck::TUpdateCheck(QObject* owner) : QObject(owner) {}

TUpdateCheck::~TUpdateCheck() {
    Abort();
    FThread.reset();
}

void TUpdateCheck::Abort() {
    if (FThread) FThread->Abort();
}

void TUpdateCheck::Fail(const std::string& text) {
    FDownloadError = text;
    if (OnDownloadError) OnDownloadError(*this);
}

bool TUpdateCheck::Download(const std::string& url, const std::string& fileName) {
    TDownloadRequest request{url, ProductInfo.URL(), UserName, Password, HTTPPort, fileName, OnDownload};
    FThread = std::make_unique<TDownloadThread>(std::move(request), this);
    // The worker posts an event when it ends, so waiting for more events
    // neither spins nor misses the end.
    while (!FThread->Terminated()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const bool ok = FThread->Success();
    if (ok) FInfo = FThread->Info();
    else FDownloadError = FThread->Error();
    FThread.reset();
    return ok;
}

bool TUpdateCheck::GetInfo() {
    for (int pages = 0;; ++pages) {
        const std::string url = FValues.RedirectionURL.empty() ? ProductInfo.URL() : FValues.RedirectionURL;
        FValues = {};
        if (pages > kMaxRedirections) {
            Fail("Too many redirections");
            return false;
        }
        std::vector<std::string> previous = std::move(FInfo);
        if (!Download(url, {})) {
            FInfo = std::move(previous);
            Fail(FDownloadError);
            return false;
        }
        FValues = ParseUpdatePage(FInfo, TagInfo);
        if (FValues.RedirectionURL.empty()) return true;
    }
}

bool TUpdateCheck::GetUpdateFile() {
    FDownloadError = "GetUpdateFile";
    // Only the name part of what the page says: a page must not be able to
    // place files outside the chosen folder.
    const fs::path name = fs::path(FValues.ClientFileName).filename();
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
    FDownloadError = "Download started";
    if (OnBeforeDownload) OnBeforeDownload(*this, path);
    if (!Download(DownloadUrl(FValues.UpdateURL, ProductInfo.URL()), path)) {
        Fail(FDownloadError);
        return false;
    }
    FFileName = path;
    if (OnAfterDownload) OnAfterDownload(*this, path);
    return true;
}

void TUpdateCheck::RunUpdate() {
    // A checksum on the page that the file does not match means the file is
    // not the one the page describes: it is never started.
    if (!FValues.MD5.empty() && md5Of(FFileName).compare(QString::fromStdString(FValues.MD5), Qt::CaseInsensitive) != 0) {
        Verified = false;
        // Nor is it left in the folder, where it could be started by hand.
        std::error_code ec;
        fs::remove(FFileName, ec);
    }
    bool started = false;
    if (Verified) {
        const QString file = QString::fromStdString(FFileName);
        started = QFileInfo(file).isExecutable()
                      ? QProcess::startDetached(file, QProcess::splitCommand(QString::fromStdString(FValues.RunParameters)))
                      : QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    }
    if (!started && OnCannotExecute) OnCannotExecute(*this);
}

bool TUpdateCheck::CheckForAnUpdate() {
    if (FActive) return false;
    FActive = true;
    FValues.RedirectionURL.clear();
    if (OnBeforeGetInfo) OnBeforeGetInfo(*this);
    bool ok = GetInfo();
    if (OnAfterGetInfo) OnAfterGetInfo(*this);
    if (FValues.ProductName.empty() || FValues.ProductVersion.empty()) {
        Fail("empty info");
        ok = false;
    }
    if (ok) {
        if (IsNewerVersion(ProductInfo.Version, FValues.ProductVersion, ProductInfo.VersionFormat)) {
            bool mayUpdate = true;
            if (OnUpdateAvailable) OnUpdateAvailable(*this, ProductInfo.Version, FValues.ProductVersion, mayUpdate);
            if (mayUpdate && GetUpdateFile()) {
                if (Options & uoRunUpdate) RunUpdate();
                FActive = false;
                if (Options & uoTerminate) QCoreApplication::quit();
                return true;
            }
        } else if (OnNoUpdateFound) {
            OnNoUpdateFound(*this);
        }
    }
    FActive = false;
    return false;
}

}  // namespace vx
