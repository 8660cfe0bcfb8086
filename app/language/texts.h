// Every text Trevo shows comes from the string tables of its resources, in the
// language the user reads. A text with values in it (a path, a number, a name)
// is one pattern per language with %1, %2 … where the values go, so that each
// language puts them in its own order.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "res/text_ids.h"

namespace trevo {

inline constexpr std::uint16_t kEnglish = 0x0409;
inline constexpr std::uint16_t kJapanese = 0x0411;

// A text of the table with what goes into its %1, %2 …; put into words only
// when it is shown, since a setting may be found bad before the language is known.
class Phrase {
public:
    explicit Phrase(engine::Long id, std::vector<Phrase> values = {}) : id_(id), values_(std::move(values)) {}
    // A value as it stands: a path, a number, a name.
    Phrase(engine::String value) : value_(std::move(value)) {}
    Phrase(const char16_t* value) : value_(value) {}

    engine::Long Id() const { return id_; }  // 0 for a value
    const std::vector<Phrase>& Values() const { return values_; }
    const engine::String& Value() const { return value_; }

private:
    engine::Long id_ = 0;
    std::vector<Phrase> values_;
    engine::String value_;
};

class Texts {
public:
    // Without [Options] Language: the texts Trevo first had, English with the
    // Properties dialog's Japanese captions and OK's Japanese message.
    explicit Texts(engine::Engine& engine) : engine_(&engine) {}
    // Every text in one language of the table; nothing is as Trevo first had them.
    Texts(engine::Engine& engine, std::optional<std::uint16_t> language) : engine_(&engine), language_(language) {}

    // Raises 326 for a text the table has in no language.
    engine::String Text(engine::Long id) const;
    engine::String Say(const Phrase& phrase) const;
    std::optional<std::uint16_t> Language() const { return language_; }

private:
    engine::Engine* engine_;
    std::optional<std::uint16_t> language_;
};

// The values put into a pattern: %1 … %9 for the values in order, %% for a
// percent sign; a number without its value stays as it is written.
engine::String FormatText(std::u16string_view pattern, const std::vector<engine::String>& values);

}  // namespace trevo
