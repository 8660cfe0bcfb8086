// The string tables of a resource script, read from its source as the resource
// compiler reads them, so that the simulated Windows carries the very texts
// the program ships: one table per LANGUAGE block, ids resolved through the
// "#define NAME number" lines of the headers it includes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/types.h"

namespace sim {

struct StringTables {
    // LANGID -> (string id -> text), the languages in the order of the script.
    std::map<std::uint16_t, std::map<engine::Long, engine::String>> byLanguage;
    std::vector<std::uint16_t> order;
    // Every name the script and its headers define, with its number.
    std::map<std::string, engine::Long> names;
};

// What the resource compiler would refuse, with the file and line.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a UTF-8 script (#pragma code_page(65001)); raises ScriptError.
StringTables ReadStringTables(const std::filesystem::path& script);

// The script the program is built with.
std::filesystem::path ProgramStringTables();

}  // namespace sim
