#include "watcher/traffic_sampler.h"

namespace vx {

void TTrafficSampler::ReadCounters(std::uint64_t& received, std::uint64_t& sent) {
    TLinkCounters counters;
    const bool ok = !FSource.CountersOf(Adapter.IntfIdx, counters);
    received = ok ? counters.Received : 0;
    sent = ok ? counters.Sent : 0;
    if (received == 0 && sent == 0) DL = UL = 0;
}

double TTrafficSampler::PlotValue(double bytesPerSecond) const {
    if (Units == 0) return bytesPerSecond / 1024;
    if (Units == 1) return bytesPerSecond * 8 / 1000;
    return bytesPerSecond;
}

double TTrafficSampler::ChangeUnits(int units) {
    const double before = PlotValue(1);
    Units = units;
    const double factor = PlotValue(1) / before;
    MS *= factor;
    return factor;
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
        ReadCounters(DL, UL);
        FBaseIntfIdx = Adapter.IntfIdx;
        ET = FClock.TickCount();
    }
    std::uint64_t received = 0, sent = 0;
    ReadCounters(received, sent);
    std::uint64_t inDelta = 0, outDelta = 0;
    // No baseline (nothing read, or both counters at 0): this reading is the
    // baseline. A counter that went backwards was reset: start afresh.
    if ((DL != 0 || UL != 0) && received >= DL && sent >= UL) {
        inDelta = received - DL;
        outDelta = sent - UL;
    }
    TDL += inDelta;
    TUL += outDelta;
    double elapsed = static_cast<std::uint32_t>(FClock.TickCount() - ET) / 1000.0;
    if (elapsed == 0) elapsed = 1;
    const double download = static_cast<double>(inDelta) / elapsed;
    const double upload = static_cast<double>(outDelta) / elapsed;
    ET = FClock.TickCount();
    if (MDL < download) MDL = download;
    if (MUL < upload) MUL = upload;

    const TTrafficFigures figures{download, upload, MDL, MUL, received, sent, TDL, TUL};

    const double down = PlotValue(download);
    const double up = PlotValue(upload);
    g.Download.AddXY(FClock.Now(), down);
    g.Upload.AddXY(FClock.Now(), up);
    if (FClock.Now() > g.Bottom.Max()) g.Bottom.MoveMinMax(kSecond);
    if (g.Download.Count() > kMaxPoints) {
        g.Download.Delete(0);
        g.Upload.Delete(0);
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
