#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "about/download_thread.h"
#include "about/update_check.h"
#include "page_server.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

using test::meta;
using test::PageServer;

// A check pointed at the server, recording the events it fires.
struct UpdateCheckTest : ::testing::Test {
    UpdateCheckTest() {
        // Requests to the loopback server never go through a configured proxy.
        setenv("no_proxy", "127.0.0.1", 1);
        check.ProductInfo.SetURL(server.Url("/vx/info.htm"));
        check.ProductInfo.Version = "3.4.0.0";
        check.HTTPPort = server.serverPort();
        check.Options = uoOverwrite;
        check.TargetFolder = dir.path().string();
        check.OnDownloadError = [this](TUpdateCheck& c) { errors.push_back(c.DownloadError()); };
        check.OnNoUpdateFound = [this](TUpdateCheck&) { ++noUpdate; };
        check.OnUpdateAvailable = [this](TUpdateCheck&, const std::string&, const std::string& offered, bool& may) {
            available.push_back(offered);
            may = mayUpdate;
        };
        check.OnCannotExecute = [this](TUpdateCheck&) { ++cannotExecute; };
    }

    void Serve(const std::string& path, const std::string& body, bool withLength = true) {
        server.pages[path] = {body, withLength};
    }

    PageServer server;
    test::TTempDir dir;
    TUpdateCheck check;
    std::vector<std::string> errors, available;
    int noUpdate = 0, cannotExecute = 0;
    bool mayUpdate = false;
};

TEST_F(UpdateCheckTest, NoNewerVersion) {
    Serve("/vx/info.htm", "<html>\r\n" + meta("Name", "Vantrix") + meta("Version", "3.4.0.0"));
    EXPECT_FALSE(check.CheckForAnUpdate());
    EXPECT_EQ(noUpdate, 1);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(available.empty());
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_TRUE(server.requests[0].starts_with("GET /vx/info.htm HTTP/1.0\r\n")) << server.requests[0];
    EXPECT_NE(server.requests[0].find("User-Agent: TUpdateCheck"), std::string::npos);
    EXPECT_FALSE(check.Active());
}

TEST_F(UpdateCheckTest, NewerVersionDeclinedDownloadsNothing) {
    Serve("/vx/info.htm", meta("Name", "Vantrix") + meta("Version", "3.4.0.1") + meta("File", "vx.bin") +
                              meta("Download", "vx.bin"));
    EXPECT_FALSE(check.CheckForAnUpdate());
    EXPECT_EQ(available, std::vector<std::string>{"3.4.0.1"});
    EXPECT_EQ(noUpdate, 0);
    EXPECT_EQ(server.requests.size(), 1u);
}

TEST_F(UpdateCheckTest, RedirectedPageAloneCounts) {
    Serve("/vx/info.htm", meta("Redirection", server.Url("/new/info.htm")) + meta("Author", "old"));
    Serve("/new/info.htm", meta("Name", "Vantrix") + meta("Version", "3.3"));
    EXPECT_FALSE(check.CheckForAnUpdate());
    EXPECT_EQ(noUpdate, 1);
    EXPECT_EQ(check.Values().Author, "");
    EXPECT_EQ(check.Values().ProductVersion, "3.3");
    EXPECT_EQ(server.requests.size(), 2u);
}

TEST_F(UpdateCheckTest, RedirectionLoopEnds) {
    Serve("/vx/info.htm", meta("Redirection", server.Url("/vx/info.htm")));
    EXPECT_FALSE(check.CheckForAnUpdate());
    EXPECT_EQ(server.requests.size(), static_cast<std::size_t>(TUpdateCheck::kMaxRedirections + 1));
    EXPECT_EQ(errors, (std::vector<std::string>{"Too many redirections", "empty info"}));
}

TEST_F(UpdateCheckTest, UnreachableServerReportsTwice) {
    check.HTTPPort = 1;  // nothing listens there
    EXPECT_FALSE(check.CheckForAnUpdate());
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_FALSE(errors[0].empty());
    EXPECT_EQ(errors[1], "empty info");
    EXPECT_EQ(noUpdate, 0);
}

TEST_F(UpdateCheckTest, SecondCheckWhileOneRunsIsRefused) {
    Serve("/vx/info.htm", meta("Name", "Vantrix") + meta("Version", "1.0"));
    int nested = -1;
    check.OnBeforeGetInfo = [&](TUpdateCheck& c) { nested = c.CheckForAnUpdate() ? 1 : 0; };
    EXPECT_FALSE(check.CheckForAnUpdate());
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(noUpdate, 1);
    EXPECT_EQ(server.requests.size(), 1u);
}

TEST_F(UpdateCheckTest, DownloadsTheFileUnderItsOwnName) {
    const std::string content(5000, 'x');
    Serve("/vx/info.htm", meta("Name", "Vantrix") + meta("Version", "3.5") + meta("File", "../../escape.bin") +
                              meta("Download", "files/update.bin"));
    Serve("/vx/files/update.bin", content);
    mayUpdate = true;
    std::vector<std::int64_t> progress;
    std::int64_t total = 0;
    check.OnDownload = [&](TDownloadThread&, std::int64_t t, std::int64_t soFar) {
        total = t;
        progress.push_back(soFar);
    };
    std::string after;
    check.OnAfterDownload = [&](TUpdateCheck&, const std::string& file) { after = file; };

    EXPECT_TRUE(check.CheckForAnUpdate());
    const std::string expected = dir.file("escape.bin");  // the page's path parts are dropped
    EXPECT_EQ(after, expected);
    std::ifstream in(expected, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
    EXPECT_FALSE(std::filesystem::exists(expected + ".part"));
    EXPECT_EQ(total, 5000);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 5000);
    EXPECT_TRUE(errors.empty());
}

TEST_F(UpdateCheckTest, DownloadFailures) {
    struct Case {
        const char* name;
        bool withLength, fileExists;
        unsigned options;
        std::string error;
    } cases[] = {
        {"no length", false, false, uoOverwrite, "The server did not send the file's length"},
        {"no overwrite", true, true, 0, "Overwrite error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        const std::string target = dir.file("vx.bin");
        std::filesystem::remove(target);
        if (c.fileExists) std::ofstream(target) << "old";
        Serve("/vx/info.htm", meta("Name", "Vantrix") + meta("Version", "4") + meta("File", "vx.bin") +
                                  meta("Download", "vx.bin"));
        Serve("/vx/vx.bin", "new content", c.withLength);
        check.Options = c.options;
        mayUpdate = true;
        EXPECT_FALSE(check.CheckForAnUpdate());
        EXPECT_EQ(errors, std::vector<std::string>{c.error});
        EXPECT_EQ(std::filesystem::exists(target), c.fileExists);
        EXPECT_FALSE(std::filesystem::exists(target + ".part"));
    }
}

// Someone who can write to a shared download folder plants links where the
// download would write: the download never writes through them.
TEST_F(UpdateCheckTest, PlantedLinksAreNeverFollowed) {
    const std::string victim = dir.file("victim");
    test::WriteWholeFile(victim, "precious");
    std::filesystem::create_symlink(victim, dir.file("vx.bin.part"));
    Serve("/vx/info.htm", meta("Name", "Vantrix") + meta("Version", "4") + meta("File", "vx.bin") +
                              meta("Download", "vx.bin"));
    Serve("/vx/vx.bin", "new content");
    mayUpdate = true;
    EXPECT_TRUE(check.CheckForAnUpdate());
    EXPECT_EQ(test::ReadWholeFile(victim), "precious");
    EXPECT_EQ(test::ReadWholeFile(dir.file("vx.bin")), "new content");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("vx.bin.part")));  // left alone
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))  // no temporary file left
        EXPECT_EQ(entry.path().filename().string().find(".part-"), std::string::npos) << entry.path();
}

// A page is held in memory whole, so its size is capped; a page that
// trickles in cannot keep the check running past its time limit.
TEST(DownloadThreadTest, PagesAreBoundedInSizeAndTime) {
    setenv("no_proxy", "127.0.0.1", 1);
    PageServer server;
    server.pages["/big"] = {std::string(TDownloadRequest::kMaxPageBytes + 1, 'x')};
    server.pages["/slow"] = {std::string(100, 'y'), true, 400};
    server.pages["/fits"] = {std::string(TDownloadRequest::kMaxPageBytes, 'z')};
    struct Case {
        const char* path;
        bool success;
        const char* error;
    };
    const Case cases[] = {
        {"/big", false, "The page is larger than 1048576 bytes"},
        {"/slow", false, "Operation timed out"},
        {"/fits", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TDownloadRequest request;
        request.URL = server.Url(c.path);
        request.Port = server.serverPort();
        request.PageTimeLimitSeconds = 2;
        QObject gui;
        TDownloadThread thread(request, &gui);
        const auto start = std::chrono::steady_clock::now();
        while (!thread.Terminated()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        EXPECT_EQ(thread.Success(), c.success);
        EXPECT_EQ(thread.Error().substr(0, std::strlen(c.error)), c.error);
    }
}

TEST_F(UpdateCheckTest, FileNotMatchingThePageChecksumIsNotStarted) {
    Serve("/vx/info.htm", meta("Name", "Vantrix") + meta("Version", "4") + meta("File", "vx.sh") +
                              meta("Download", "vx.sh") + meta("MD5", "00000000000000000000000000000000"));
    Serve("/vx/vx.sh", "#!/bin/sh\nexit 0\n");
    check.Options = uoOverwrite | uoRunUpdate;
    mayUpdate = true;
    EXPECT_TRUE(check.CheckForAnUpdate());
    EXPECT_FALSE(check.Verified);
    EXPECT_EQ(cannotExecute, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("vx.sh")));  // not left to be started by hand
}

}  // namespace
}  // namespace vx
