#include "app/language/texts.h"

#include <algorithm>
#include <array>

#include "engine/error.h"
#include "engine/text.h"

namespace trevo {
using engine::Long;
using engine::String;

namespace {
// The texts Trevo first showed in Japanese, whatever the rest said.
constexpr std::array<Long, 4> kFirstInJapanese = {IDS_ALWAYS_THIS_SIZE, IDS_ONLY_WHEN_CENTRED, IDS_CANCEL,
                                                  IDS_CHANGES_AT_NEXT_START};
}  // namespace

String Texts::Text(Long id) const {
    std::uint16_t language = kEnglish;
    if (language_)
        language = *language_;
    else if (std::find(kFirstInJapanese.begin(), kFirstInJapanese.end(), id) != kFirstInJapanese.end())
        language = kJapanese;
    // A language that lacks a text (a test stops that from shipping) says it in English.
    for (const std::uint16_t tried : {language, kEnglish})
        if (auto text = engine_->LoadResStringOf(id, tried)) return *text;
    engine::Raise(326, u"Resource with identifier '" + engine::DecimalText(id) + u"' not found");
}

String Texts::Say(const Phrase& phrase) const {
    if (phrase.Id() == 0) return phrase.Value();
    std::vector<String> values;
    for (const Phrase& value : phrase.Values()) values.push_back(Say(value));
    return FormatText(Text(phrase.Id()), values);
}

String FormatText(std::u16string_view pattern, const std::vector<String>& values) {
    String text;
    for (size_t at = 0; at < pattern.size(); ++at) {
        const char16_t next = at + 1 < pattern.size() ? pattern[at + 1] : u'\0';
        if (pattern[at] == u'%' && next == u'%') {
            text += u'%';
            ++at;
        } else if (pattern[at] == u'%' && next >= u'1' && next <= u'9' &&
                   static_cast<size_t>(next - u'1') < values.size()) {
            text += values[static_cast<size_t>(next - u'1')];
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

}  // namespace trevo
