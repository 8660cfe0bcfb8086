#include "engine/engine.h"

#include <new>

#include "engine/text.h"

namespace engine {

void Engine::RunEvent(const std::function<void()>& handler) {
    Long number = 0;
    String report;
    try {
        handler();
        return;
    } catch (const RuntimeError& e) {
        number = e.Number();
        report = RuntimeErrorReport(e);
    } catch (const std::bad_alloc&) {
        RuntimeError e(err::kOutOfMemory);
        number = e.Number();
        report = RuntimeErrorReport(e);
    } catch (const std::exception& e) {
        RuntimeError wrapped(51, u"Internal error: " + FromUtf8(e.what()));
        number = wrapped.Number();
        report = RuntimeErrorReport(wrapped);
    }
    MsgBox(report, kMbIconError, u"");
    End(number);
}

void Engine::FormUnloaded() {
    if (loadedForms_ > 0 && --loadedForms_ == 0) LastFormUnloaded();
}

void Engine::Retire(std::unique_ptr<FormPeer> form, std::vector<std::unique_ptr<ControlPeer>> controls) {
    for (auto& control : controls) retiredControls_.push_back(std::move(control));
    retiredForms_.push_back(std::move(form));
}

void Engine::CollectRetired() {
    // Children first: a control's window belongs to its form's window.
    auto controls = std::move(retiredControls_);
    auto forms = std::move(retiredForms_);
    controls.clear();
    forms.clear();
}

}  // namespace engine
