#pragma once

// The update information page: a text (usually HTML) whose meta lines carry
// the newest version, its download location and a few more values, each
// under a configurable tag name.

#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The tag names to look for, one per value.
struct TTagInfo {
    std::string Author = "Author";
    std::string Email = "Email";
    std::string ClientFileName = "File";
    std::string Download = "Download";
    std::string ProductName = "Name";
    std::string Redirection = "Redirection";
    std::string RunParameters = "RunParameters";
    std::string Version = "Version";
    std::string MD5 = "MD5";
    std::string Page = "Page";

    // Every name with a prefix in front, for pages that describe several
    // products side by side.
    TTagInfo Prefixed(const std::string& prefix) const;
};

// The values read from one page.
struct TUpdateValues {
    std::string ProductName, ClientFileName, ProductVersion, Author, EMail, UpdateURL, RedirectionURL,
        RunParameters, MD5, Page;
};

// Reads the values from the page's lines. A line counts when it holds
// `META NAME="tag"` (that keyword in upper case) and `content="value"`
// (that keyword in any case); a later line with the same tag wins.
TUpdateValues ParseUpdatePage(const std::vector<std::string>& lines, const TTagInfo& tags);

// Splits received text into lines at CR, LF or CR LF.
std::vector<std::string> SplitPageLines(std::string_view text);

}  // namespace vx
