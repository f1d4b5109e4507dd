#pragma once

#include <functional>
#include <map>

#include "core/dialogs/CodeRain.h"

// Timers on a simulated clock: run() fires every due tick in time order.
class SimulatedTimers : public modshelf::dialogs::RainTimers {
public:
    void start(int timer, int milliseconds) override {
        running_[timer] = {milliseconds, now_ + milliseconds};
    }
    void stop(int timer) override { running_.erase(timer); }

    bool running(int timer) const { return running_.count(timer) != 0; }
    int interval(int timer) const { return running_.at(timer).interval; }
    long now() const { return now_; }

    // Fires ticks until the clock passes `until`; each tick goes to `fire`.
    void run(long until, const std::function<void(int)>& fire) {
        for (;;) {
            auto next = running_.end();
            for (auto it = running_.begin(); it != running_.end(); ++it)
                if (next == running_.end() || it->second.due < next->second.due) next = it;
            if (next == running_.end() || next->second.due > until) break;
            now_ = next->second.due;
            const int timer = next->first;
            // A timer of 0 ms still takes a turn of the event loop.
            next->second.due += next->second.interval > 0 ? next->second.interval : 1;
            fire(timer);
        }
        now_ = until;
    }

private:
    struct Running {
        int interval = 0;
        long due = 0;
    };
    std::map<int, Running> running_;
    long now_ = 0;
};
