#pragma once

// Whether the user asked, with LURVENDEL_DEBUG=1 in the environment, to be told in one line each
// what failed: a clip that stayed silent, a part of the window the desktop would not make.
bool debugWanted();
