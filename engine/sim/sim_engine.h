// The form engine over the simulated world.
#pragma once

#include <memory>

#include "engine/engine.h"
#include "engine/sim/process_death.h"
#include "engine/sim/sim_platform.h"
#include "engine/sim/sim_world.h"
#include "engine/sim/string_tables.h"

namespace sim {

class SimEngine : public engine::Engine {
public:
    explicit SimEngine(World& world);
    ~SimEngine() override;

    engine::Platform& platform() override { return life_; }
    engine::ScreenMetrics Screen() const override { return world_.screen; }
    engine::AppInfo App() const override { return world_.app; }
    Long MsgBox(const engine::String& text, Long style, const engine::String& title) override;
    void DoEvents() override;
    engine::PicturePtr LoadPicture(const engine::String& path) override;
    engine::PicturePtr LoadResPicture(Long id, Long format) override;
    void SavePicture(const engine::Picture& picture, const engine::String& path) override;
    engine::String LoadResString(Long id) override;
    std::optional<engine::String> LoadResStringOf(Long id, std::uint16_t language) override;
    std::vector<std::uint16_t> ResStringLanguages(Long id) override;
    // The simulated Windows draws no letters: only the language is kept.
    void SetTextLanguage(std::uint16_t language) override { world_.textLanguage = language; }
    std::unique_ptr<engine::FormPeer> CreateFormPeer(const engine::FormDesign& design,
                                                     engine::FormEvents& events) override;
    std::unique_ptr<engine::NoticePanel> CreateNoticePanel() override;
    Long Run() override { return world_.exitCode; }
    [[noreturn]] void End(Long exitCode) override;

    World& world() { return world_; }
    // The simulated Windows itself, whatever stands in front of it.
    SimPlatform& simulated() { return platform_; }
    // The program's calls go to front, which hands them on to the simulated
    // Windows (a test's spy). Made before the program's first call.
    void RouteCallsThrough(std::unique_ptr<engine::Platform> front) { front_ = std::move(front); }
    // The icon resources the program carries: 1, and 11..51 / 12..52.
    static bool HasIconResource(Long id);
    // The string tables the program carries, read from the script at first use.
    const StringTables& StringResources();

protected:
    void LastFormUnloaded() override;

private:
    World& world_;
    SimPlatform platform_;
    std::unique_ptr<engine::Platform> front_;
    std::optional<StringTables> strings_;
    ProcessLife life_;  // before every call: the process may die at it
};

}  // namespace sim
