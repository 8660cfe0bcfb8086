// A control's design as the dialogs declare it: kind, name, text, place and
// size in twips, place in the tab order, index within its control array.
#pragma once

#include <utility>

#include "engine/peers.h"

namespace trevo {

inline engine::ControlDesign Design(engine::ControlKind kind, engine::String name, engine::String text,
                                    engine::Long left, engine::Long top, engine::Long width, engine::Long height,
                                    engine::Integer tab, engine::Integer index = -1) {
    engine::ControlDesign d;
    d.kind = kind;
    d.name = std::move(name);
    d.text = std::move(text);
    d.left = left;
    d.top = top;
    d.width = width;
    d.height = height;
    d.tabIndex = tab;
    d.index = index;
    return d;
}

}  // namespace trevo
