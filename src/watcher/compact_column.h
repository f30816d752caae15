#pragma once

// A column of values stored narrow while every value fits the narrow form
// exactly, and wide from the first value that does not (all values are then
// widened once). Dropping the oldest value takes constant time.
//
// A codec says what fits: encode(value, narrow, first) answers whether
// `value` has a narrow form that decodes to exactly `value` (`first`: the
// column is empty, so the codec may choose its base).

#include <cstddef>
#include <deque>

namespace vx {

template <class Codec>
class TCompactColumn {
public:
    using Narrow = typename Codec::Narrow;
    using Wide = typename Codec::Wide;

    std::size_t size() const { return fIsWide ? fWide.size() : fNarrow.size(); }
    bool isWide() const { return fIsWide; }

    Wide operator[](std::size_t i) const { return fIsWide ? fWide[i] : fCodec.decode(fNarrow[i]); }

    void push_back(Wide value) {
        Narrow narrow{};
        if (!fIsWide && fCodec.encode(value, narrow, fNarrow.empty())) {
            fNarrow.push_back(narrow);
            return;
        }
        widen();
        fWide.push_back(value);
    }

    void pop_front() {
        if (fIsWide)
            fWide.pop_front();
        else
            fNarrow.pop_front();
    }

    void clear() {
        fNarrow.clear();
        fWide.clear();
        fIsWide = false;
    }

private:
    void widen() {
        if (fIsWide) return;
        for (const Narrow n : fNarrow) fWide.push_back(fCodec.decode(n));
        fNarrow = {};
        fIsWide = true;
    }

    Codec fCodec;
    std::deque<Narrow> fNarrow;
    std::deque<Wide> fWide;
    bool fIsWide = false;
};

// Unsigned integers that fit a smaller unsigned type.
template <class NarrowType, class WideType>
struct TUnsignedCodec {
    using Narrow = NarrowType;
    using Wide = WideType;
    bool encode(Wide value, Narrow& narrow, bool) const {
        narrow = static_cast<Narrow>(value);
        return static_cast<Wide>(narrow) == value;
    }
    Wide decode(Narrow narrow) const { return narrow; }
};

}  // namespace vx
