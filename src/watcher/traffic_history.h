#pragma once

// A watcher's history: one entry per tick holding what was measured (the
// tick's time, the interval, the two counter differences) rather than the
// plotted doubles. The points the graph draws and the history export writes
// are computed from the entry by the same arithmetic the sampler uses for
// the rate it shows, so they are the same doubles; a full day of ticks takes
// 14 bytes each instead of 32 (wider forms only for values that need them:
// a time not on a millisecond, a gap over a minute, over 4 GB a tick).
//
// A change of units converts the points already plotted by a factor, as a
// plotted series would be multiplied: each point remembers the units it was
// plotted in and the factors applied after it.

#include <cstdint>
#include <vector>

#include "plot/point_source.h"
#include "sysinfo/date_time.h"
#include "watcher/compact_column.h"

namespace vx {

class TTrafficHistory {
public:
    // Bytes per second over `elapsedMs` (an interval of 0 counts as one second).
    static double RateOf(std::uint64_t octets, std::uint32_t elapsedMs);
    // 0: kilobytes per second (bytes / 1024); 1: kilobits per second
    // (bytes * 8 / 1000); anything else: bytes per second.
    static double PlotValue(int units, double bytesPerSecond);

    TTrafficHistory();
    TTrafficHistory(const TTrafficHistory&) = delete;
    TTrafficHistory& operator=(const TTrafficHistory&) = delete;

    int Count() const { return static_cast<int>(FTime.size()); }
    void Append(TDateTime time, std::uint32_t elapsedMs, std::uint64_t received, std::uint64_t sent, int units);
    void DropFirst();
    // The points so far are multiplied by `factor`; later ones are plotted in `units`.
    void ConvertUnits(int units, double factor);

    TDateTime TimeAt(int i) const { return FTime[static_cast<std::size_t>(i)]; }
    double DownloadAt(int i) const { return plotted(i, FReceived[static_cast<std::size_t>(i)]); }
    double UploadAt(int i) const { return plotted(i, FSent[static_cast<std::size_t>(i)]); }

    // The two series' views of the history.
    const ITsp_PointSource& Download() const { return FDownload; }
    const ITsp_PointSource& Upload() const { return FUpload; }

    // Whether each column still holds its narrow form (for tests).
    bool Compact() const;

private:
    // Milliseconds from midnight of the first time's day, when that gives
    // back the very same time.
    struct TTimeCodec {
        using Narrow = std::int32_t;
        using Wide = TDateTime;
        double baseDay = 0;
        bool encode(TDateTime value, Narrow& narrow, bool first);
        TDateTime decode(Narrow narrow) const;
    };
    // Points from `firstTick` on were plotted in `units`, and every point
    // before was multiplied by `factorsBefore` in turn.
    struct TUnitsEpoch {
        std::uint64_t firstTick;
        int units;
        std::vector<double> factorsBefore;
    };
    class TView : public ITsp_PointSource {
    public:
        TView(const TTrafficHistory& history, bool upload) : FHistory(history), FUpload(upload) {}
        int PointCount() const override { return FHistory.Count(); }
        double PointX(int i) const override { return FHistory.TimeAt(i); }
        double PointY(int i) const override { return FUpload ? FHistory.UploadAt(i) : FHistory.DownloadAt(i); }

    private:
        const TTrafficHistory& FHistory;
        bool FUpload;
    };

    double plotted(int i, std::uint64_t octets) const;

    TCompactColumn<TTimeCodec> FTime;
    TCompactColumn<TUnsignedCodec<std::uint16_t, std::uint32_t>> FElapsed;
    TCompactColumn<TUnsignedCodec<std::uint32_t, std::uint64_t>> FReceived, FSent;
    std::uint64_t FFirstTick = 0;  // the number of the oldest entry's tick
    std::vector<TUnitsEpoch> FEpochs;
    TView FDownload{*this, false}, FUpload{*this, true};
};

}  // namespace vx
