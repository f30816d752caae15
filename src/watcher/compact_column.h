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

    std::size_t size() const { return FIsWide ? FWide.size() : FNarrow.size(); }
    bool isWide() const { return FIsWide; }

    Wide operator[](std::size_t i) const { return FIsWide ? FWide[i] : FCodec.decode(FNarrow[i]); }

    void push_back(Wide value) {
        Narrow narrow{};
        if (!FIsWide && FCodec.encode(value, narrow, FNarrow.empty())) {
            FNarrow.push_back(narrow);
            return;
        }
        widen();
        FWide.push_back(value);
    }

    void pop_front() {
        if (FIsWide)
            FWide.pop_front();
        else
            FNarrow.pop_front();
    }

    void clear() {
        FNarrow.clear();
        FWide.clear();
        FIsWide = false;
    }

private:
    void widen() {
        if (FIsWide) return;
        for (const Narrow n : FNarrow) FWide.push_back(FCodec.decode(n));
        FNarrow = {};
        FIsWide = true;
    }

    Codec FCodec;
    std::deque<Narrow> FNarrow;
    std::deque<Wide> FWide;
    bool FIsWide = false;
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
