// The reference for Trevo's click: what the contract makes a selection do on
// the platform and nothing of Trevo's own. Every desktop is told its state in
// index order (one NIM_MODIFY each, with its picture and tip), and the newly
// active one's turn holds the switch of reference_switch.h: the wallpaper call,
// the walk and its reads, one deferred batch. The icons belong to hidden
// windows of this process, added once; each picture is loaded before timing,
// as Trevo has loaded its own by then.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "contract_tray.h"
#include "engine/win32/handles.h"
#include "reference_switch.h"

namespace winbench {

struct ContractPhases {
    double totalMs = 0;
    double iconsMs = 0;         // the desktops' NIM_MODIFY calls together
    ReferencePhases selection;  // the active desktop's switch
};

class ContractDesks {
public:
    // Adds `count` icons; Valid() tells whether they all were.
    explicit ContractDesks(int count);
    ContractDesks(const ContractDesks&) = delete;
    ContractDesks& operator=(const ContractDesks&) = delete;

    bool Valid() const { return valid_; }

    // Desktop `active` (1 to count) becomes the active one; the windows move by
    // dx; with a wallpaper job, its bitmap is written and set.
    ContractPhases Select(int active, LONG dx, NameReads reads, const Stopwatch& clock,
                          const WallpaperJob* wallpaper = nullptr);

private:
    struct Desk {
        win32::UniqueWindow window;
        std::unique_ptr<ContractIcon> icon;
    };
    std::vector<Desk> desks_;
    bool valid_ = true;
};

}  // namespace winbench
