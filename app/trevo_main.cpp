#include "app/trevo_main.h"

#include "app/frmTrevo.h"

namespace trevo {

engine::Long RunTrevo(engine::Engine& engine) {
    FrmTrevo controller(engine);
    engine.RunEvent([&] { controller.form().Load(); });
    const engine::Long code = engine.Run();
    engine.CollectRetired();
    return code;
}

}  // namespace trevo
