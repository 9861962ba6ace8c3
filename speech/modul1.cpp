#include "app/frm_uhr.h"
#include "speech/clip_store.h"

// Plays one clip to its end with nothing else running, then lets pending events run once: ticks
// and clicks that waited run here, between two clips, and may nest a whole announcement.
void frmUhr::PlayClip(std::int16_t id) {
  Label4.refresh();
  Label5.refresh();
  const ReadClip* clip = findClip(id);
  if (clip) {
    clipBuffer.assign(clip->image.begin(), clip->image.end());
    platform_.audio.play(id, clip->soundIn(clipBuffer));
  }
  platform_.pump.processPendingEvents();
}
