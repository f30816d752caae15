#include "about/update_page.h"

#include <QString>

namespace vx {
namespace {

// Values and names are read at most this far past their opening quote.
constexpr std::size_t kMaxQuoted = 255;

std::string quotedAt(const std::string& line, std::size_t start) {
    if (start >= line.size()) return {};
    const std::string window = line.substr(start, kMaxQuoted);
    return window.substr(0, window.find('"'));
}

bool sameText(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

TTagInfo TTagInfo::Prefixed(const std::string& prefix) const {
    TTagInfo t = *this;
    for (std::string* name : {&t.Author, &t.Email, &t.ClientFileName, &t.Download, &t.ProductName, &t.Redirection,
                              &t.RunParameters, &t.Version, &t.MD5, &t.Page})
        *name = prefix + *name;
    return t;
}

TUpdateValues ParseUpdatePage(const std::vector<std::string>& lines, const TTagInfo& tags) {
    static constexpr std::string_view kName = "META NAME=\"";
    static constexpr std::string_view kContent = "CONTENT=\"";
    TUpdateValues v;
    // Tested in this order, so a name used for two values fills the first.
    const std::pair<const std::string*, std::string*> targets[] = {
        {&tags.ProductName, &v.ProductName}, {&tags.ClientFileName, &v.ClientFileName},
        {&tags.Version, &v.ProductVersion},  {&tags.Author, &v.Author},
        {&tags.Email, &v.EMail},             {&tags.Download, &v.UpdateURL},
        {&tags.Redirection, &v.RedirectionURL}, {&tags.RunParameters, &v.RunParameters},
        {&tags.MD5, &v.MD5},                 {&tags.Page, &v.Page}};
    for (const std::string& line : lines) {
        const std::size_t p = line.find("META NAME");
        if (p == std::string::npos) continue;
        const std::string tag = quotedAt(line, p + kName.size());
        std::string* target = nullptr;
        for (const auto& [name, value] : targets)
            if (sameText(tag, *name)) {
                target = value;
                break;
            }
        if (!target) continue;
        // A meta line without a content attribute carries no value; it
        // neither sets nor clears one.
        const std::size_t q = upper(line).find(kContent.substr(0, kContent.size() - 1));
        if (q == std::string::npos) continue;
        *target = quotedAt(line, q + kContent.size());
    }
    return v;
}

std::vector<std::string> SplitPageLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace vx
