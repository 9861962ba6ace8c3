#pragma once

#include "platform/ports/audio_output.h"
#include "platform/ports/clock.h"
#include "platform/ports/dialogs.h"
#include "platform/ports/event_pump.h"
#include "platform/ports/instance_lock.h"
#include "platform/ports/program_end.h"
#include "platform/ports/tray_host.h"
#include "platform/ports/window_host.h"

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
