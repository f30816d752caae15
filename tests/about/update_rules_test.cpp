#include <gtest/gtest.h>

#include "about/update_page.h"
#include "about/update_url.h"
#include "about/update_version.h"

namespace vx {
namespace {

struct VersionCase {
    const char* current;
    const char* offered;
    TVersionFormat format;
    bool newer;
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.current << " -> " << c.offered; }

class NewerVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(NewerVersionTest, Decides) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(IsNewerVersion(c.current, c.offered, c.format), c.newer);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, NewerVersionTest,
    ::testing::Values(VersionCase{"3.4.0.0", "3.4.0.1", vfStandard, true},
                      VersionCase{"3.4.0.0", "3.4.0.0", vfStandard, false},
                      VersionCase{"3.4.0.0", "3.3.9.9", vfStandard, false},
                      VersionCase{"3.4.0.0", "3.4.0.0.5", vfStandard, false},  // parts past the current's last
                      VersionCase{"3.4", "3.4.1", vfStandard, false},
                      VersionCase{"3.4", "3.10", vfStandard, true},  // numbers, not text
                      VersionCase{"3.4.0.0", "3.4", vfStandard, false},
                      VersionCase{"1.x", "1.1", vfStandard, true},  // "x" counts as 0
                      VersionCase{"1.0", "1.1beta", vfStandard, false},  // "1beta" is no integer: 0
                      VersionCase{"1.0", "2.0beta", vfStandard, true},
                      VersionCase{"1.9", "1.10", vfString, false},
                      VersionCase{"1.0", "1.0a", vfString, true},
                      VersionCase{"1.5", "1.25", vfNumber, false},
                      VersionCase{"1.5", "2", vfNumber, true},
                      VersionCase{"1.5", "abc", vfNumber, false},
                      VersionCase{"abc", "9", vfNumber, false}));

TEST(UpdatePageTest, ReadsTaggedLines) {
    const auto lines = SplitPageLines(
        "<html>\r\n"
        "<META NAME=\"Name\" CONTENT=\"Vantrix\">\r\n"
        "<META NAME=\"version\" content=\"2.2.0.0\">\n"       // tag in any case, content keyword too
        "<meta name=\"Download\" content=\"ignored.zip\">\r"  // keyword in lower case: not a value line
        "<META NAME=\"Version\" Content=\"2.3.0.0\">\n"        // a later line wins
        "<META NAME=\"Page\">\n"                              // no content: nothing taken
        "<META NAME=\"Unknown\" CONTENT=\"x\">");
    ASSERT_EQ(lines.size(), 7u);
    const TUpdateValues v = ParseUpdatePage(lines, TTagInfo{});
    EXPECT_EQ(v.ProductName, "Vantrix");
    EXPECT_EQ(v.ProductVersion, "2.3.0.0");
    EXPECT_EQ(v.UpdateURL, "");
    EXPECT_EQ(v.Page, "");
}

TEST(UpdatePageTest, PrefixedTagsAndLongValues) {
    const TTagInfo tags = TTagInfo{}.Prefixed("VX");
    EXPECT_EQ(tags.ClientFileName, "VXFile");
    const std::string longValue(300, 'a');
    const TUpdateValues v = ParseUpdatePage({"<META NAME=\"Version\" CONTENT=\"9.9\">",
                                             "<META NAME=\"vxversion\" CONTENT=\"1.2\">",
                                             "<META NAME=\"VXMD5\" CONTENT=\"" + longValue + "\">",
                                             "<META NAME=\"VXRedirection\" CONTENT=\"http://example.org/next.htm\">"},
                                            tags);
    EXPECT_EQ(v.ProductVersion, "1.2");
    EXPECT_EQ(v.MD5, std::string(255, 'a'));  // read at most 255 characters ahead
    EXPECT_EQ(v.RedirectionURL, "http://example.org/next.htm");
}

TEST(UpdateUrlTest, PageAddressGetsAScheme) {
    EXPECT_EQ(ProductPageUrl(""), "http://");
    EXPECT_EQ(ProductPageUrl("example.org/u.htm"), "http://example.org/u.htm");
    EXPECT_EQ(ProductPageUrl("HTTPS://example.org/u.htm"), "HTTPS://example.org/u.htm");
}

TEST(UpdateUrlTest, RequestTargets) {
    const std::string product = "http://updates.example.org/vx/info.htm";
    struct Case {
        std::string url, host, path;
        bool secure;
    } cases[] = {
        {"http://example.org/a/b.htm", "example.org", "/a/b.htm", false},
        {"HTTPS://example.org/b.htm", "example.org", "/b.htm", true},
        {"example.org/c?u=http://x/", "example.org", "/c?u=http://x/", false},  // a scheme later on stays
        {"http://example.org", "updates.example.org", "/", false},              // no host part
        {"/other.htm", "updates.example.org", "/other.htm", false},
    };
    for (const Case& c : cases) {
        const TRequestTarget t = RequestTargetOf(c.url, product);
        EXPECT_EQ(t.host, c.host) << c.url;
        EXPECT_EQ(t.path, c.path) << c.url;
        EXPECT_EQ(t.secure, c.secure) << c.url;
    }
}

TEST(UpdateUrlTest, DownloadRelativeToThePage) {
    const std::string product = "http://updates.example.org/vx/info.htm";
    EXPECT_EQ(DownloadUrl("vx-2.3.tar.gz", product), "http://updates.example.org/vx/vx-2.3.tar.gz");
    EXPECT_EQ(DownloadUrl("https://cdn.example.org/vx.tar.gz", product), "https://cdn.example.org/vx.tar.gz");
}

// The link the About dialog opens from a page's "Page" value.
TEST(UpdateUrlTest, OnlyWebLinksOnTheHomeHostOpen) {
    const std::string home = "https://vantrix.example.org/";
    const std::pair<std::string, bool> cases[] = {
        {home + "news/3.5.html", true},
        {"http://VANTRIX.example.org/x", true},
        {home + "@evil.example.com/", true},  // a path on the home host
        {"https://vantrix.example.org@evil.example.com/", false},
        {"https://evil.example.com/", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"https://vantrix.example.org.evil.example.com/", false},
        {"", false},
    };
    for (const auto& [link, allowed] : cases) EXPECT_EQ(IsLinkOnHomeHost(link, home), allowed) << link;
    EXPECT_FALSE(IsLinkOnHomeHost(home + "x", ""));
}

}  // namespace
}  // namespace vx
