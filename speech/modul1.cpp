#include "app/frm_uhr.h"
#include "speech/clip_store.h"

// Plays one clip to its end with nothing else running, then lets pending events run once: ticks
// and clicks that waited run here, between two clips, and may nest a whole announcement.
void frmUhr::PlayClip(std::int16_t id) {
  Label4.refresh();
  Label5.refresh();
  const auto image = clipImage(id);
  clipBuffer.assign(image.begin(), image.end());
  platform_.audio.play(clipBuffer);
  platform_.pump.processPendingEvents();
}
