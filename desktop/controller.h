// What a desktop asks of the one controller.
#pragma once

#include "engine/types.h"

namespace desktop {

class Controller {
public:
    virtual void TrayLClick(engine::Long desk) = 0;
    virtual void PropertiesClick() = 0;
    virtual void CloseAll() = 0;

protected:
    ~Controller() = default;
};

}  // namespace desktop
