#include "engine/sim/sim_engine.h"

#include <memory>

#include "engine/error.h"
#include "engine/sim/sim_notice_panel.h"
#include "engine/sim/sim_peers.h"
#include "engine/sim/sim_picture.h"
#include "engine/text.h"

namespace sim {

SimEngine::SimEngine(World& world)
    : world_(world),
      platform_(world),
      life_(world, platform_, [this]() -> engine::Platform& { return front_ ? *front_ : platform_; }) {
    world_.engine = this;
    world_.ProgramStarted();
}

SimEngine::~SimEngine() {
    CollectRetired();
    if (world_.engine == this) world_.engine = nullptr;
}

Long SimEngine::MsgBox(const engine::String& text, Long style, const engine::String& title) {
    world_.msgBoxes.push_back({text, style, title.empty() ? world_.app.title : title});
    if (world_.msgBoxScript) {
        auto script = world_.msgBoxScript;
        script(world_.msgBoxes.back());
    }
    if (world_.msgBoxAnswers.empty()) return engine::kIdOk;
    const Long answer = world_.msgBoxAnswers.front();
    world_.msgBoxAnswers.pop_front();
    return answer;
}

void SimEngine::DoEvents() {
    ++world_.doEventsCalls;
    world_.DeliverWinEvents();
    world_.DeliverDueTimers();
    if (world_.onDoEvents) {
        auto script = world_.onDoEvents;  // the script may replace itself
        script();
    }
}

engine::PicturePtr SimEngine::LoadPicture(const engine::String& path) {
    if (path.empty()) engine::Raise(engine::err::kInvalidPicture);
    ++world_.picturesDecoded;
    return LoadPictureFile(world_.files.ToHost(path));
}

bool SimEngine::HasIconResource(Long id) {
    if (id == 1) return true;
    const Long n = id / 10, kind = id % 10;
    return n >= 1 && n <= 5 && (kind == 1 || kind == 2);
}

engine::PicturePtr SimEngine::LoadResPicture(Long id, Long format) {
    if (format != engine::kResIcon || !HasIconResource(id))
        engine::Raise(326, u"Resource with identifier '" + engine::DecimalText(id) + u"' not found");
    // The picture the notification area shows: as large as its icons are at
    // the primary monitor's scale as the program sees it (an unaware program's
    // icon is stretched there by Windows).
    const Monitor& primary = world_.windows.monitors().Primary();
    const Long pixels = SmallIconPixels(world_.ProgramView().SeenDpi(primary.dpi));
    auto icon = std::make_shared<SimPicture>(engine::PictureKind::Icon, pixels, pixels);
    icon->SetResourceId(id);
    world_.iconResources[icon->Handle()] = id;
    world_.iconPixels[icon->Handle()] = pixels;
    return icon;
}

void SimEngine::SavePicture(const engine::Picture& picture, const engine::String& path) {
    const std::filesystem::path host = world_.files.ToHost(path);
    // A read-only file or a folder is never replaced.
    if (path.empty() || HasReadOnlyAttribute(host) || std::filesystem::is_directory(host) ||
        !world_.MayWriteIn(host.parent_path()))
        engine::Raise(engine::err::kPathFileAccess);
    const bool dies = world_.CallDiesHere("SavePicture");
    SaveBitmapFile(picture, host);
    if (!dies) return;
    // Killed while writing: the file stays as far as it got.
    std::error_code ec;
    std::filesystem::resize_file(host, std::filesystem::file_size(host, ec) / 2, ec);
    world_.DieHere();
}

const StringTables& SimEngine::StringResources() {
    if (!strings_) {
        const auto& script = world_.options.stringTables;
        strings_ = ReadStringTables(script.empty() ? ProgramStringTables() : script);
    }
    return *strings_;
}

engine::String SimEngine::LoadResString(Long id) {
    // The block of the thread's language, else the neutral one, else U.S.
    // English, else the first: the order in which Windows looks.
    const StringTables& tables = StringResources();
    std::vector<std::uint16_t> order{world_.options.uiLanguage, 0x0000, 0x0409};
    order.insert(order.end(), tables.order.begin(), tables.order.end());
    for (const std::uint16_t language : order)
        if (auto text = LoadResStringOf(id, language)) return *text;
    engine::Raise(326, u"Resource with identifier '" + engine::DecimalText(id) + u"' not found");
}

std::optional<engine::String> SimEngine::LoadResStringOf(Long id, std::uint16_t language) {
    const auto& tables = StringResources().byLanguage;
    const auto block = tables.find(language);
    if (block == tables.end()) return std::nullopt;
    const auto text = block->second.find(id);
    // An empty string is no string: the table's room for it is empty.
    if (text == block->second.end() || text->second.empty()) return std::nullopt;
    return text->second;
}

std::vector<std::uint16_t> SimEngine::ResStringLanguages(Long id) {
    // Strings live in blocks of sixteen: a language has the block when it has
    // any string of those sixteen. The resource directory keeps them by number.
    std::vector<std::uint16_t> languages;
    for (const auto& [language, table] : StringResources().byLanguage) {
        const auto first = table.lower_bound(id / 16 * 16);
        if (first != table.end() && first->first < id / 16 * 16 + 16) languages.push_back(language);
    }
    return languages;
}

std::unique_ptr<engine::FormPeer> SimEngine::CreateFormPeer(const engine::FormDesign& design,
                                                            engine::FormEvents& events) {
    return std::make_unique<SimFormPeer>(world_, design, events);
}

std::unique_ptr<engine::NoticePanel> SimEngine::CreateNoticePanel() {
    return std::make_unique<SimNoticePanel>(world_);
}

void SimEngine::End(Long exitCode) {
    world_.ended = true;
    world_.exitCode = exitCode;
    throw ProcessEnded{exitCode};
}

// A dead process's forms go with its memory, which is no end the program made.
void SimEngine::LastFormUnloaded() {
    if (!world_.ProgramDead()) world_.ended = true;
}

}  // namespace sim
