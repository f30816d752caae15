#pragma once

// Whether the version an update page names is newer than the running one.

#include <string_view>

namespace vx {

enum TVersionFormat {
    vfStandard,  // dotted integers, compared part by part from the left
    vfString,    // plain character-code order
    vfNumber,    // one decimal number with "." as its point
};

// vfStandard compares as many parts as the current version has: 3.4.0.1 is
// newer than 3.4.0.0, but 3.4.1 is not newer than 3.4. A part that is no
// integer counts as 0. vfNumber says "not newer" when either text is no
// number.
bool IsNewerVersion(std::string_view current, std::string_view candidate, TVersionFormat format);

}  // namespace vx
