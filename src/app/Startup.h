// The first instance's run: the application, the editor window and the message loop.
#pragma once

#include "ui/Application.h"

namespace morvi {

// Creates the editor window and runs the message loop until it closes; 0 then. When the window
// cannot be made, the user is told and nothing runs: the result is 1.
int RunFirstInstance(ui::Application& app);

} // namespace morvi
