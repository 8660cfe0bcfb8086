#include "engine/sim/file_system.h"

#include "engine/text.h"

namespace sim {

FileSystem::FileSystem(std::filesystem::path root) : root_(std::move(root)) {}

std::filesystem::path FileSystem::ToHost(std::u16string_view windowsPath) const {
    std::u16string_view rest = windowsPath;
    char16_t drive = u'C';
    if (rest.size() >= 2 && rest[1] == u':') {
        drive = rest[0];
        if (drive >= u'a' && drive <= u'z') drive = static_cast<char16_t>(drive - u'a' + u'A');
        rest.remove_prefix(2);
    }
    std::filesystem::path out = root_ / std::string(1, static_cast<char>(drive));
    std::u16string part;
    auto flush = [&] {
        if (!part.empty() && part != u".") out /= engine::ToUtf8(part);
        part.clear();
    };
    for (char16_t c : rest) {
        if (c == u'\\' || c == u'/')
            flush();
        else
            part += c;
    }
    flush();
    return out;
}

bool HasReadOnlyAttribute(const std::filesystem::path& host) {
    std::error_code ec;
    const auto status = std::filesystem::status(host, ec);
    return std::filesystem::is_regular_file(status) &&
           (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

}  // namespace sim
