#pragma once

#include "core/ports/audio_output.h"
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "core/ports/event_pump.h"
#include "core/ports/instance_lock.h"
#include "core/ports/program_end.h"
#include "core/ports/tray_host.h"
#include "core/ports/window_host.h"

// Everything the window model needs from the outside world, real or simulated.
struct Platform {
  Clock& clock;
  EventPump& pump;
  Dialogs& dialogs;
  WindowHost& window;
  TrayHost& tray;
  InstanceLock& instance;
  ProgramEnd& program;
  AudioOutput& audio;
};
