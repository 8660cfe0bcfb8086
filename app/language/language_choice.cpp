#include "app/language/language_choice.h"

#include "app/language/texts.h"
#include "engine/text.h"

namespace trevo {
using engine::String;

namespace {
std::uint16_t PrimaryLanguage(std::uint16_t language) { return language & 0x3FF; }
}  // namespace

std::vector<std::pair<String, std::uint16_t>> TableLanguages(engine::Engine& engine) {
    std::vector<std::pair<String, std::uint16_t>> languages;
    for (const std::uint16_t language : engine.ResStringLanguages(IDS_LANGUAGE_CODE))
        if (auto code = engine.LoadResStringOf(IDS_LANGUAGE_CODE, language)) languages.emplace_back(*code, language);
    return languages;
}

std::uint16_t LanguageOfWindows(engine::Engine& engine) {
    const std::uint16_t windows = engine.platform().GetUserDefaultUILanguage();
    const auto languages = TableLanguages(engine);
    for (const auto& [code, language] : languages)
        if (language == windows) return language;
    for (const auto& [code, language] : languages)
        if (PrimaryLanguage(language) == PrimaryLanguage(windows)) return language;
    return kEnglish;
}

std::optional<std::uint16_t> ChooseLanguage(engine::Engine& engine, const SettingPlace& place, const String& value) {
    if (value.empty()) return std::nullopt;
    if (engine::EqualsIgnoreCase(value, u"auto")) return LanguageOfWindows(engine);
    String codes;
    for (const auto& [code, language] : TableLanguages(engine)) {
        if (engine::EqualsIgnoreCase(value, code)) return language;
        codes += (codes.empty() ? u"" : u", ") + code;
    }
    RefuseSetting(place, value, Phrase(IDS_RULE_LANGUAGE, {codes}));
}

}  // namespace trevo
