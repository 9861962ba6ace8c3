#include "core/app/frm_uhr.h"
#include "core/speech/clip_store.h"

// The module Modul1: PlayClip and the clipBuffer it plays from.

// Plays one clip to its end with nothing else running, then lets pending events run once: ticks
// and clicks that waited run here, between two clips, and may nest a whole announcement.
void frmUhr::PlayClip(std::int16_t id) {
  Label4.refresh();
  Label5.refresh();
  const ReadClip* clip = findClip(id);
  if (clip) {
    clipBuffer = clip->image;
    platform_.audio.play(id, clip->sound);
  }
  platform_.pump.processPendingEvents();
}
