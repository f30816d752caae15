#pragma once

// Points a series shows without owning them: a history its owner keeps in
// a compact form and hands out point by point. Index 0 is the oldest point.

namespace vx {

class ITsp_PointSource {
public:
    virtual ~ITsp_PointSource() = default;
    virtual int PointCount() const = 0;
    virtual double PointX(int i) const = 0;
    virtual double PointY(int i) const = 0;
};

}  // namespace vx
