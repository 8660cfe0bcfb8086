#include "engine/sim/string_tables.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <utility>

#include "engine/text.h"

namespace sim {
using engine::Long;
using engine::String;

namespace {

// The names <winnt.h> gives the languages, as MAKELANGID takes them. A name
// not listed here makes the script unreadable: add it from <winnt.h>.
const std::map<std::string, Long> kLanguageNames = {
    {"LANG_NEUTRAL", 0x00},
    {"LANG_ARABIC", 0x01},
    {"LANG_BULGARIAN", 0x02},
    {"LANG_CATALAN", 0x03},
    {"LANG_CHINESE", 0x04},
    {"LANG_CZECH", 0x05},
    {"LANG_DANISH", 0x06},
    {"LANG_GERMAN", 0x07},
    {"LANG_GREEK", 0x08},
    {"LANG_ENGLISH", 0x09},
    {"LANG_SPANISH", 0x0a},
    {"LANG_FINNISH", 0x0b},
    {"LANG_FRENCH", 0x0c},
    {"LANG_HEBREW", 0x0d},
    {"LANG_HUNGARIAN", 0x0e},
    {"LANG_ICELANDIC", 0x0f},
    {"LANG_ITALIAN", 0x10},
    {"LANG_JAPANESE", 0x11},
    {"LANG_KOREAN", 0x12},
    {"LANG_DUTCH", 0x13},
    {"LANG_NORWEGIAN", 0x14},
    {"LANG_POLISH", 0x15},
    {"LANG_PORTUGUESE", 0x16},
    {"LANG_ROMANIAN", 0x18},
    {"LANG_RUSSIAN", 0x19},
    {"LANG_CROATIAN", 0x1a},
    {"LANG_SLOVAK", 0x1b},
    {"LANG_SWEDISH", 0x1d},
    {"LANG_THAI", 0x1e},
    {"LANG_TURKISH", 0x1f},
    {"LANG_INDONESIAN", 0x21},
    {"LANG_UKRAINIAN", 0x22},
    {"LANG_VIETNAMESE", 0x2a},
    {"SUBLANG_NEUTRAL", 0x00},
    {"SUBLANG_DEFAULT", 0x01},
    {"SUBLANG_SYS_DEFAULT", 0x02},
    {"SUBLANG_ENGLISH_US", 0x01},
    {"SUBLANG_ENGLISH_UK", 0x02},
    {"SUBLANG_GERMAN", 0x01},
    {"SUBLANG_FRENCH", 0x01},
    {"SUBLANG_SPANISH", 0x01},
    {"SUBLANG_ITALIAN", 0x01},
    {"SUBLANG_DUTCH", 0x01},
    {"SUBLANG_PORTUGUESE", 0x02},
    {"SUBLANG_PORTUGUESE_BRAZILIAN", 0x01},
    {"SUBLANG_JAPANESE_JAPAN", 0x01},
    {"SUBLANG_KOREAN", 0x01},
    {"SUBLANG_CHINESE_TRADITIONAL", 0x01},
    {"SUBLANG_CHINESE_SIMPLIFIED", 0x02},
};

// One script read token by token, comments and preprocessor lines taken out.
class Scanner {
public:
    Scanner(std::filesystem::path file, std::string text) : file_(std::move(file)), text_(std::move(text)) {}

    [[noreturn]] void Fail(const std::string& what) const {
        throw ScriptError(file_.string() + ":" + std::to_string(line_) + ": " + what);
    }

    // The next word, number or punctuation; "" at the end. Directive lines
    // ("#include ...") come back whole.
    std::string Next() {
        SkipBlanks();
        if (at_ >= text_.size()) return {};
        const char c = text_[at_];
        if (c == '#') return TakeWhile([](char x) { return x != '\n'; });
        if (c == '"') Fail("a text where a name or number belongs");
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '_')
            return TakeWhile([](char x) { return std::isalnum(static_cast<unsigned char>(x)) || x == '_'; });
        ++at_;
        return std::string(1, c);
    }

    bool TextComes() {
        SkipBlanks();
        return at_ < text_.size() && text_[at_] == '"';
    }

    // A quoted text with the compiler's escapes: "" and \" for a quote, \r \n \t \\ and \xHH.
    String Text() {
        if (!TextComes()) Fail("a text in quotes is missing");
        std::string bytes;
        for (++at_;; ++at_) {
            if (at_ >= text_.size() || text_[at_] == '\n') Fail("a text without its closing quote");
            const char c = text_[at_];
            if (c == '"') {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
                    bytes += '"';
                    ++at_;
                    continue;
                }
                ++at_;
                break;
            }
            if (c != '\\') {
                bytes += c;
                continue;
            }
            if (++at_ >= text_.size()) Fail("a text ends in a backslash");
            switch (text_[at_]) {
                case 'r':
                    bytes += '\r';
                    break;
                case 'n':
                    bytes += '\n';
                    break;
                case 't':
                    bytes += '\t';
                    break;
                case '\\':
                    bytes += '\\';
                    break;
                case '"':
                    bytes += '"';
                    break;
                case 'x': {
                    const size_t digits = text_.find_first_not_of("0123456789abcdefABCDEF", at_ + 1);
                    if (digits == at_ + 1) Fail("\\x without hexadecimal digits");
                    bytes += static_cast<char>(
                        std::stoi(text_.substr(at_ + 1, std::min<size_t>(digits - at_ - 1, 2)), nullptr, 16));
                    at_ = std::min(digits, at_ + 3) - 1;
                    break;
                }
                default:
                    Fail(std::string("an escape the compiler does not know: \\") + text_[at_]);
            }
        }
        return engine::FromUtf8(bytes);
    }

private:
    template <class Keep>
    std::string TakeWhile(Keep keep) {
        const size_t start = at_;
        while (at_ < text_.size() && keep(text_[at_])) ++at_;
        return text_.substr(start, at_ - start);
    }

    void SkipBlanks() {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '\n') {
                ++line_;
                ++at_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++at_;
            } else if (text_.compare(at_, 2, "//") == 0) {
                while (at_ < text_.size() && text_[at_] != '\n') ++at_;
            } else if (text_.compare(at_, 2, "/*") == 0) {
                const size_t end = text_.find("*/", at_ + 2);
                if (end == std::string::npos) Fail("a comment without its end");
                line_ += static_cast<int>(
                    std::count(text_.begin() + static_cast<long>(at_), text_.begin() + static_cast<long>(end), '\n'));
                at_ = end + 2;
            } else {
                return;
            }
        }
    }

    std::filesystem::path file_;
    std::string text_;
    size_t at_ = 0;
    int line_ = 1;
};

std::string FileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ScriptError(file.string() + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ScriptReader {
public:
    explicit ScriptReader(StringTables& tables) : tables_(tables) {}

    void Read(const std::filesystem::path& file) {
        Scanner scan(file, FileText(file));
        for (std::string token = scan.Next(); !token.empty(); token = scan.Next()) {
            if (token[0] == '#')
                Directive(scan, file, token);
            else if (token == "LANGUAGE")
                Language(scan);
            else if (token == "STRINGTABLE")
                Table(scan);
            else
                scan.Fail("\"" + token + "\" is not a statement of the string tables");
        }
    }

private:
    void Directive(Scanner& scan, const std::filesystem::path& file, const std::string& line) {
        std::istringstream words(line);
        std::string directive, name, value;
        words >> directive >> name;
        if (directive == "#include" && name.size() > 2 && name.front() == '"')
            Read(file.parent_path() / name.substr(1, name.size() - 2));
        else if (directive == "#define" && (words >> value))
            tables_.names[name] = Number(scan, value);
        else if (directive == "#pragma" && name.rfind("code_page", 0) == 0 && name != "code_page(65001)")
            scan.Fail("only UTF-8 scripts are read: #pragma code_page(65001)");
        // Other directives (system headers, #pragma once) hold no text.
    }

    Long Number(Scanner& scan, const std::string& word) const {
        if (auto known = tables_.names.find(word); known != tables_.names.end()) return known->second;
        if (auto language = kLanguageNames.find(word); language != kLanguageNames.end()) return language->second;
        size_t used = 0;
        try {
            const Long value = static_cast<Long>(std::stol(word, &used, 0));
            if (used == word.size()) return value;
        } catch (const std::exception&) {
        }
        scan.Fail("\"" + word + "\" is neither a number nor a defined name");
    }

    void Language(Scanner& scan) {
        const Long primary = Number(scan, scan.Next());
        if (scan.Next() != ",") scan.Fail("LANGUAGE takes a language and a sublanguage");
        const Long sub = Number(scan, scan.Next());
        language_ = static_cast<std::uint16_t>((sub << 10) | primary);
    }

    void Table(Scanner& scan) {
        std::string token = scan.Next();
        while (token != "BEGIN" && token != "{") {
            if (token.empty()) scan.Fail("STRINGTABLE without BEGIN");
            token = scan.Next();  // memory options, which change nothing here
        }
        if (!tables_.byLanguage.count(language_)) tables_.order.push_back(language_);
        auto& table = tables_.byLanguage[language_];
        for (token = scan.Next(); token != "END" && token != "}"; token = scan.Next()) {
            if (token.empty()) scan.Fail("STRINGTABLE without END");
            const Long id = Number(scan, token);
            if (!scan.TextComes() && scan.Next() != ",") scan.Fail("a string id without its text");
            if (id < 0 || id > 0xFFFF) scan.Fail("string id " + std::to_string(id) + " is out of range");
            if (!table.emplace(id, scan.Text()).second)
                scan.Fail("string id " + std::to_string(id) + " twice in one language");
        }
    }

    StringTables& tables_;
    // Without a LANGUAGE statement the compiler takes U.S. English.
    std::uint16_t language_ = 0x0409;
};

}  // namespace

StringTables ReadStringTables(const std::filesystem::path& script) {
    StringTables tables;
    ScriptReader(tables).Read(script);
    return tables;
}

std::filesystem::path ProgramStringTables() { return TREVO_STRING_TABLES; }

}  // namespace sim
