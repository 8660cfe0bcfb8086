// The program's calls to Windows as one process makes them: each passes the
// machine's count on its way, so that the process can die at any one of them.
#pragma once

#include <functional>

#include "engine/sim/forwarding_platform.h"
#include "engine/sim/sim_world.h"

namespace sim {

class ProcessLife : public ForwardingPlatform {
public:
    // target: where the calls go on to (a test's spy, or the simulated Windows).
    ProcessLife(World& world, engine::Platform& first, std::function<engine::Platform&()> target)
        : ForwardingPlatform(first), world_(world), target_(std::move(target)) {}

protected:
    engine::Platform& Through(const char* call) const override {
        if (world_.CallDiesHere(call)) world_.DieHere();
        return target_();
    }

private:
    World& world_;
    std::function<engine::Platform&()> target_;
};

}  // namespace sim
