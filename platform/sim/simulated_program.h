#pragma once

#include "core/app/frm_uhr.h"
#include "platform/sim/sim_platform.h"

// The whole program on the simulated platform: the window model wired to virtual time.
struct SimulatedProgram {
  SimulatedProgram() { sim.attach(form); }

  // Starts the program at a time of day on Monday, 7 December 2026.
  void startAt(int hour, int minute, int second, int millisecond = 0) {
    sim.clock.set(2026, 12, 7, hour, minute, second, millisecond);
    sim.deliver([this] { form.Form_Load(); });
  }

  SimPlatform sim;
  frmUhr form{sim.ports()};
};
