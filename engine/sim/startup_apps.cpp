// What Windows does with the programs a user has it start at log-on: the
// values of the Run key, each of which Task Manager's Startup tab can switch
// off without touching it.
#include <cstdint>

#include "engine/sim/sim_world.h"

namespace sim {
namespace win = engine::win;

namespace {
std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// 1 January 2026 as a FILETIME: the model's clock has no date of its own.
constexpr std::uint64_t kSomeDay = 134116992000000000ull;
}  // namespace

void World::SwitchInTaskManager(const std::string& name, bool on) {
    // Task Manager keeps 12 bytes a value: 02 (on) or 03 (off), then the time
    // it was switched off as a FILETIME, zero while it is on.
    std::string record(12, '\0');
    record[0] = on ? '\x02' : '\x03';
    if (!on) {
        const std::uint64_t when = kSomeDay + std::uint64_t{tickCount} * 10000;
        for (int i = 0; i < 8; ++i) record[4 + i] = static_cast<char>(when >> (8 * i));
    }
    // Explorer makes the key the first time it is needed.
    registry[kStartupApprovedKey].values[Upper(name)] = {win::REG_BINARY, record};
}

std::optional<std::string> World::CommandAtLogOn(const std::string& name) const {
    const auto run = registry.find(kRunKey);
    if (run == registry.end()) return std::nullopt;
    const auto value = run->second.values.find(Upper(name));
    if (value == run->second.values.end()) return std::nullopt;
    const auto& [type, bytes] = value->second;
    if (type != win::REG_SZ && type != win::REG_EXPAND_SZ) return std::nullopt;
    // An odd first byte is Task Manager's "off"; no record at all, or an even
    // one, leaves the value to run.
    if (const auto approved = registry.find(kStartupApprovedKey); approved != registry.end()) {
        const auto record = approved->second.values.find(Upper(name));
        if (record != approved->second.values.end() && !record->second.second.empty() &&
            (static_cast<unsigned char>(record->second.second[0]) & 1) != 0)
            return std::nullopt;
    }
    return bytes.substr(0, bytes.find('\0'));
}

}  // namespace sim
