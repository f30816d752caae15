#include "watcher/traffic_sampler.h"

namespace vx {

void TTrafficSampler::ReadCounters(std::uint64_t& received, std::uint64_t& sent) {
    const TLinkCounters counters = read();
    received = counters.Received;
    sent = counters.Sent;
}

TLinkCounters TTrafficSampler::read() {
    TLinkCounters counters;
    FUnavailable = static_cast<bool>(FSource.CountersOf(Adapter.IntfIdx, counters));
    if (FUnavailable) counters = TLinkCounters{Adapter.IntfIdx, 0, 0, counters.ReadTick};
    if (counters.Received == 0 && counters.Sent == 0) DL = UL = 0;
    return counters;
}

double TTrafficSampler::PlotValue(double bytesPerSecond) const {
    return TTrafficHistory::PlotValue(Units, bytesPerSecond);
}

double TTrafficSampler::ChangeUnits(int units) {
    const double before = PlotValue(1);
    Units = units;
    const double factor = PlotValue(1) / before;
    MS *= factor;
    if (factor != 1) FHistory.ConvertUnits(units, factor);
    return factor;
}

void TTrafficSampler::showHistory(const TTrafficGraph& g) const {
    if (g.Download.PointSource() != &FHistory.Download()) g.Download.ShowPoints(&FHistory.Download());
    if (g.Upload.PointSource() != &FHistory.Upload()) g.Upload.ShowPoints(&FHistory.Upload());
}

TTrafficFigures TTrafficSampler::TimerTimer(const TTrafficGraph& g) {
    constexpr double kSecond = 1.0 / 86400;
    if (FViewLength == 0) {
        FViewLength = kViewLength;
        EP = 0;
        MS = 0;
        const TDateTime start = FClock.Now();
        g.Bottom.SetMinMax(start, FClock.Now() + FViewLength * kSecond);
    }
    // Another interface behind the watcher (deleted and re-created under the
    // same name): its counters are no continuation of the old ones.
    if (Adapter.IntfIdx != FBaseIntfIdx) DL = UL = 0;
    if (DL == 0 && UL == 0) {
        const TLinkCounters base = read();
        DL = base.Received;
        UL = base.Sent;
        FBaseIntfIdx = Adapter.IntfIdx;
        ET = base.ReadTick.value_or(FClock.TickCount());
        FLastReadTick = base.ReadTick;
    }
    const TLinkCounters reading = read();
    const std::uint64_t received = reading.Received, sent = reading.Sent;
    if (reading.ReadTick && (FUnavailable || reading.ReadTick == FLastReadTick)) {
        // A polled source with nothing new since the last tick (its next
        // reading is under way, or the host is not reached): no point and
        // no rate, rather than a zero followed by a double.
        // Back after a failure, the first reading is only a baseline: the
        // panel says unavailable until a rate can be told.
        FLastReadTick = reading.ReadTick;
        if (FUnavailable) FLast = TTrafficFigures{0, 0, MDL, MUL, 0, 0, TDL, TUL, true};
        if (FClock.Now() > g.Bottom.Max()) g.Bottom.MoveMinMax(kSecond);
        return FLast;
    }
    FLastReadTick = reading.ReadTick;
    std::uint64_t inDelta = 0, outDelta = 0;
    // No baseline (nothing read, or both counters at 0): this reading is the
    // baseline. A counter that went backwards was reset: start afresh.
    if ((DL != 0 || UL != 0) && received >= DL && sent >= UL) {
        inDelta = received - DL;
        outDelta = sent - UL;
    }
    TDL += inDelta;
    TUL += outDelta;
    const std::uint32_t readAt = reading.ReadTick.value_or(FClock.TickCount());
    const std::uint32_t elapsedMs = readAt - ET;
    const double download = TTrafficHistory::RateOf(inDelta, elapsedMs);
    const double upload = TTrafficHistory::RateOf(outDelta, elapsedMs);
    ET = readAt;
    if (MDL < download) MDL = download;
    if (MUL < upload) MUL = upload;

    const TTrafficFigures figures{download, upload, MDL, MUL, received, sent, TDL, TUL};
    FLast = figures;

    const double down = PlotValue(download);
    const double up = PlotValue(upload);
    const TDateTime now = FClock.Now();
    showHistory(g);
    FHistory.Append(now, elapsedMs, inDelta, outDelta, Units);
    g.Download.PointAppended();
    g.Upload.PointAppended();
    if (now > g.Bottom.Max()) g.Bottom.MoveMinMax(kSecond);
    if (FHistory.Count() > kMaxPoints) {
        const TDateTime first = FHistory.TimeAt(0);
        const double firstDown = FHistory.DownloadAt(0), firstUp = FHistory.UploadAt(0);
        FHistory.DropFirst();
        g.Download.FirstPointDropped(first, firstDown);
        g.Upload.FirstPointDropped(first, firstUp);
    }
    const double peak = up > down ? up : down;
    if (MS < peak) MS = peak;
    if (MS > g.Left.Max()) {
        g.Left.SetMax(MS);
        EP = 0;
        MS = 0;
    }
    if (EP >= 0 && static_cast<std::uint32_t>(EP) > FViewLength) {
        if (MS < g.Left.Max()) {
            g.Left.SetMax(MS < kMinAxisMax ? kMinAxisMax : MS);
            MS = 0;
        }
        EP = 0;
    }
    g.Right.SetMax(g.Left.Max());
    ++EP;
    DL = received;
    UL = sent;
    return figures;
}

}  // namespace vx
