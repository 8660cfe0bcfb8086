#include "desktop/tray_tip.h"

#include "engine/text.h"
#include "lib/ClsKwString.h"

namespace desktop {
using engine::String;

String TrayTip(const engine::Platform& platform, const engine::AppInfo& app, engine::Long number, const String& name,
               bool active) {
    const String head = u"Velmora Ver " + engine::DecimalText(app.major) + u"." + engine::DecimalText(app.minor) +
                        u"." + engine::DecimalText(app.revision) + u"  #" + engine::DecimalText(number);
    const String tail = active ? u" Active" : u"";
    // Measured in the code page's bytes: a character of a double-byte code
    // page takes two, and one it cannot spell may take more than one unit.
    String shown = name;
    while (!shown.empty() && platform.ToAnsi(head + u" " + shown + tail).size() > kTipBytes)
        shown = lib::ClsKwString::LeftWhole(shown, shown.size() - 1);
    return shown.empty() ? head + tail : head + u" " + shown + tail;
}

}  // namespace desktop
