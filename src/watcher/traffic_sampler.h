#pragma once

// One watcher's sampling of its interface: each tick reads the received and
// sent octet counters, turns the differences since the last tick into
// download and upload rates (bytes per second), keeps the highest rates and
// the session totals, keeps the tick in its history (which the graph's two
// series show), scrolls
// the time axis and scales the value axes (they grow at once to a new peak
// and shrink at most every ViewLength ticks, never below 10 plot units).
//
// Counters are the kernel's 64-bit ones. They never wrap in practice, so
// one that went backwards was reset (a driver reload, an interface deleted
// and re-created): that tick takes a fresh baseline instead of a difference
// across two different counters. The same happens when the interface index
// behind the watcher changes. A failed read gives zeros and a fresh
// baseline. A source that polls (a remote exporter) dates its readings:
// rates are then the differences over the time between readings, and a
// tick that finds no new reading shows the last figures and adds no point.
// Elapsed time comes from the 32-bit tick count, modulo 2^32, so
// the tick count's wrap after 49.7 days gives the true interval. Session
// totals are 64-bit.

#include <cstdint>

#include "netconfig/adapter.h"
#include "netconfig/link_source.h"
#include "plot/axis.h"
#include "plot/data_series.h"
#include "sysinfo/clock.h"
#include "watcher/traffic_history.h"

namespace vx {

// What one tick shows (bytes and bytes per second).
struct TTrafficFigures {
    double DownloadRate = 0, UploadRate = 0;
    double MaxDownload = 0, MaxUpload = 0;
    std::uint64_t Received = 0, Sent = 0;  // the interface's counters as read
    std::uint64_t SessionReceived = 0, SessionSent = 0;
    bool Unavailable = false;  // a polled source's counters could not be read
};

// The graph a sampler feeds.
struct TTrafficGraph {
    Tsp_Axis& Bottom;
    Tsp_Axis& Left;
    Tsp_Axis& Right;
    Tsp_XYDataSeries& Download;
    Tsp_XYDataSeries& Upload;
};

class TTrafficSampler {
public:
    static constexpr int kMaxPoints = 86400;
    static constexpr std::uint32_t kViewLength = 300;  // seconds shown, and ticks between rescales
    static constexpr double kMinAxisMax = 10;

    TTrafficSampler(ILinkSource& source, IClock& clock) : FSource(source), FClock(clock) {}

    TAdapter Adapter;
    // 0: kilobytes per second (bytes / 1024); 1: kilobits per second
    // (bytes * 8 / 1000); anything else: bytes per second.
    int Units = 0;

    void Initialize() { TDL = TUL = 0; }
    void ResetSessionTotals() { TDL = TUL = 0; }
    // One tick; returns what to show.
    TTrafficFigures TimerTimer(const TTrafficGraph& graph);
    // Reads the interface's counters: zeros when the read fails, and then
    // (or whenever both read 0) the baseline is forgotten.
    void ReadCounters(std::uint64_t& received, std::uint64_t& sent);

    double PlotValue(double bytesPerSecond) const;
    // Switches to `units`; returns the factor that turns values plotted in
    // the old units into the new. The history's points are converted, so
    // that the graph and its export stay in one unit: the series showing
    // them are to be told (PointsChanged).
    double ChangeUnits(int units);
    const TTrafficHistory& History() const { return FHistory; }
    std::uint32_t ViewLength() const { return FViewLength; }
    double MaxDownload() const { return MDL; }
    // The highest value plotted since the value axes were last rescaled.
    double PeakSinceRescale() const { return MS; }
    double MaxUpload() const { return MUL; }
    std::uint64_t SessionReceived() const { return TDL; }
    std::uint64_t SessionSent() const { return TUL; }

private:
    // Makes the graph's series show the history.
    void showHistory(const TTrafficGraph& g) const;
    // The interface's counters; zeros when they cannot be read (and then,
    // or whenever both are 0, the baseline is forgotten).
    TLinkCounters read();

    ILinkSource& FSource;
    IClock& FClock;
    std::uint64_t DL = 0, UL = 0;
    std::uint32_t FBaseIntfIdx = 0;  // the interface the baseline was read from
    std::uint64_t TDL = 0, TUL = 0;
    double MS = 0, MDL = 0, MUL = 0;
    std::uint32_t ET = 0;
    std::int32_t EP = 0;
    std::uint32_t FViewLength = 0;
    TTrafficHistory FHistory;
    bool FUnavailable = false;  // the last read failed
    std::optional<std::uint32_t> FLastReadTick;  // a polled source's last reading
    TTrafficFigures FLast;  // shown again while a polled source has nothing new
};

}  // namespace vx
