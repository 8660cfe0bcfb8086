#include "engine/sim/manifest_awareness.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

namespace sim {

namespace {
std::string Trimmed(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lower;
}

// The text of the first element of that local name (any namespace prefix),
// outside comments; nothing when there is none.
std::optional<std::string_view> ElementText(std::string_view xml, std::string_view name) {
    std::size_t at = 0;
    while ((at = xml.find('<', at)) != std::string_view::npos) {
        if (xml.substr(at, 4) == "<!--") {
            at = xml.find("-->", at);
            if (at == std::string_view::npos) return std::nullopt;
            continue;
        }
        const std::size_t nameEnd = xml.find_first_of(" \t\r\n/>", at + 1);
        if (nameEnd == std::string_view::npos) return std::nullopt;
        std::string_view tag = xml.substr(at + 1, nameEnd - at - 1);
        if (const auto colon = tag.find(':'); colon != std::string_view::npos) tag.remove_prefix(colon + 1);
        const std::size_t close = xml.find('>', nameEnd);
        if (close == std::string_view::npos) return std::nullopt;
        if (tag == name) {
            if (xml[close - 1] == '/') return std::string_view{};
            const std::size_t end = xml.find('<', close + 1);
            return xml.substr(close + 1, (end == std::string_view::npos ? xml.size() : end) - close - 1);
        }
        at = close + 1;
    }
    return std::nullopt;
}

std::optional<Awareness> KnownEntry(const std::string& entry, WindowsVersion version) {
    if (entry == "unaware") return Awareness::Unaware;
    if (entry == "system") return Awareness::System;
    if (entry == "permonitor") return Awareness::PerMonitor;
    if (entry == "permonitorv2" && version.AtLeast(10, 0, 15063)) return Awareness::PerMonitorV2;
    return std::nullopt;
}
}  // namespace

Awareness ManifestAwareness(std::string_view manifest, WindowsVersion version) {
    if (version.AtLeast(10, 0, 14393)) {
        if (const auto list = ElementText(manifest, "dpiAwareness")) {
            std::string_view rest = *list;
            while (true) {
                const std::size_t comma = rest.find(',');
                if (const auto known = KnownEntry(Trimmed(rest.substr(0, comma)), version)) return *known;
                if (comma == std::string_view::npos) return Awareness::Unaware;
                rest.remove_prefix(comma + 1);
            }
        }
    }
    if (!version.AtLeast(6, 0)) return Awareness::Unaware;  // dpiAware came with Vista
    const auto aware = ElementText(manifest, "dpiAware");
    if (!aware) return Awareness::Unaware;
    const std::string value = Trimmed(*aware);
    const bool perMonitor = version.PerMonitorScales();
    if (value == "true") return Awareness::System;
    if (value == "true/pm") return perMonitor ? Awareness::PerMonitor : Awareness::System;
    if (value == "per monitor") return perMonitor ? Awareness::PerMonitor : Awareness::Unaware;
    return Awareness::Unaware;
}

}  // namespace sim
