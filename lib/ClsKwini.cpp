#include "lib/ClsKwini.h"

#include "engine/error.h"
#include "engine/text.h"

namespace lib {
using engine::Dword;
using engine::String;

namespace {
constexpr Dword kValueSize = 255;   // room the value read is given
constexpr Dword kListSize = 32766;  // room a section or name list is given
constexpr char kMissing[] = "Non";  // the default that marks a missing value
}  // namespace

ClsKwini::ClsKwini(engine::Platform& platform) : platform_(platform) {}

String ClsKwini::TakeItem(String& list) {
    const auto nul = list.find(u'\0');
    if (nul == String::npos) engine::Raise(engine::err::kInvalidCall);
    String item = list.substr(0, nul);
    list.erase(0, nul + 1);
    return item;
}

String ClsKwini::vbGetPrivateProfileString(const String& section, const String& key, const String& file) {
    std::string buffer = platform_.ToAnsi(String(kValueSize + 1, u'\0'));
    platform_.GetPrivateProfileStringA(platform_.ToAnsi(section).c_str(), platform_.ToAnsi(key).c_str(), kMissing,
                                       buffer.data(), kValueSize, platform_.ToAnsi(file).c_str());
    String value = platform_.FromAnsi(engine::CutAtNul(buffer));
    return value == u"Non" ? String() : value;
}

bool ClsKwini::vbWritePrivateProfileString(const String& section, const String& key, const String& value,
                                           const String& file) {
    return platform_.WritePrivateProfileStringA(platform_.ToAnsi(section).c_str(), platform_.ToAnsi(key).c_str(),
                                                platform_.ToAnsi(value).c_str(), platform_.ToAnsi(file).c_str());
}

String ClsKwini::vbFirstPrivateProfileSection(const String& section, const String& file) {
    std::string buffer = platform_.ToAnsi(String(kListSize + 1, u'\0'));
    platform_.GetPrivateProfileSectionA(platform_.ToAnsi(section).c_str(), buffer.data(), kListSize,
                                        platform_.ToAnsi(file).c_str());
    sectionEntries_ = platform_.FromAnsi(buffer);
    return TakeItem(sectionEntries_);
}

String ClsKwini::vbNextPrivateProfileSection() { return TakeItem(sectionEntries_); }

void ClsKwini::vbWritePrivateProfileSection(const String& section, const String& text, const String& file) {
    platform_.WritePrivateProfileSectionA(platform_.ToAnsi(section).c_str(), platform_.ToAnsi(text).c_str(),
                                          platform_.ToAnsi(file).c_str());
}

String ClsKwini::vbFirstPrivateProfileSectionName(const String& file) {
    std::string buffer = platform_.ToAnsi(String(kListSize + 1, u'\0'));
    platform_.GetPrivateProfileSectionNamesA(buffer.data(), kListSize, platform_.ToAnsi(file).c_str());
    sectionNames_ = platform_.FromAnsi(buffer);
    return TakeItem(sectionNames_);
}

String ClsKwini::vbNextPrivateProfileSectionName() { return TakeItem(sectionNames_); }

String ClsKwini::vbGetSystemDirectory() {
    std::string buffer = platform_.ToAnsi(String(kValueSize + 1, u'\0'));
    platform_.GetSystemDirectoryA(buffer.data(), kValueSize);
    return platform_.FromAnsi(engine::CutAtNul(buffer));
}

String ClsKwini::vbGetTempPath() {
    std::string buffer = platform_.ToAnsi(String(kValueSize + 1, u'\0'));
    platform_.GetTempPathA(kValueSize, buffer.data());
    return platform_.FromAnsi(engine::CutAtNul(buffer));
}

String ClsKwini::vbGetWindowsDirectory() {
    std::string buffer = platform_.ToAnsi(String(kValueSize + 1, u'\0'));
    platform_.GetWindowsDirectoryA(buffer.data(), kValueSize);
    return platform_.FromAnsi(engine::CutAtNul(buffer));
}

}  // namespace lib
