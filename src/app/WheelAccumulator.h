#pragma once

namespace corvelt {

// Turns wheel events into zoom steps. A mouse sends one event per notch (a delta of
// 120, or a multiple when events are merged) and gets exactly one step per event.
// A touchpad sends many small deltas; they add up, and every full notch's worth
// makes one step, so a touchpad zooms like a mouse instead of once per event.
class WheelAccumulator {
  public:
    static constexpr int notch = 120;

    // +1: one step in, -1: one step out, 0: no step (yet).
    int add(int delta) {
        if (delta >= notch || delta <= -notch) {
            pending_ = 0;
            return delta > 0 ? 1 : -1;
        }
        // |pending_| < notch and |delta| < notch, so one step at most.
        pending_ += delta;
        if (pending_ >= notch) {
            pending_ -= notch;
            return 1;
        }
        if (pending_ <= -notch) {
            pending_ += notch;
            return -1;
        }
        return 0;
    }

    int pending() const { return pending_; }

  private:
    int pending_ = 0;
};

}  // namespace corvelt
