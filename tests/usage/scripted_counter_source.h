#pragma once

// Counter readings and a boot id set by the test.

#include "usage/counter_source.h"

namespace vx::test {

class TScriptedCounterSource : public IUsageCounterSource {
public:
    struct State {
        std::vector<TUsageReading> readings;
        std::string bootId = "boot-1";
        bool fails = false;
    };
    explicit TScriptedCounterSource(std::shared_ptr<State> state) : state_(std::move(state)) {}
    bool Read(std::vector<TUsageReading>& out) override {
        out = state_->readings;
        return !state_->fails;
    }
    std::string BootId() override { return state_->bootId; }

private:
    std::shared_ptr<State> state_;
};

}  // namespace vx::test
