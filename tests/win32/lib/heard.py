#!/usr/bin/python3
"""What a recording of the null sink says, clip by clip, where the sound stack may pad silence.

  heard.py times REC             a line for each announcement that "Es ist" opens in REC: the
                                 time of day HH:MM:SS it speaks, complete and in order, or "?"
                                 and its clip ids; then "stray N", the samples of sound that no
                                 clip explains
  heard.py wait-end REC TIMEOUT  waits while REC grows until it holds a closing word (600 or 610)
                                 followed by 1 s of silence; exits 1 on timeout

Wine's sound path fills a stream that ran dry with silence, also in the middle of a word, when
the machine is busy; so a clip counts as heard when every sample of its sound comes, in order,
whatever silence lies between (tests/e2e/lib/clips.py wants the silence exact as well).
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../e2e/lib"))
import clips  # noqa: E402

KEY = 16  # samples of sound that index a clip
OPENING = 300  # "Es ist"


def sound_of(samples):
    return [v for v in samples if v]


def heard(rec, sounds):
    """[clip ids] in order, and the number of samples of sound that no clip explains."""
    index = {}
    for cid, sound in sounds.items():
        index.setdefault(tuple(sound[:KEY]), []).append(cid)
    found, stray, p = [], 0, 0
    while p < len(rec):
        fits = [c for c in index.get(tuple(rec[p:p + KEY]), ()) if rec[p:p + len(sounds[c])] == sounds[c]]
        if fits:
            best = max(fits, key=lambda c: len(sounds[c]))
            found.append(best)
            p += len(sounds[best])
        else:
            stray += 1
            p += 1
    return found, stray


def load_sounds():
    return {cid: sound_of(s) for cid, s in clips.load_clips(clips.DEFAULT_CLIPS).items()}


def times(path):
    found, stray = heard(sound_of(clips.load_recording(path)), load_sounds())
    spoken = {tuple(clips.sequence(h, m, s)): f"{h:02d}:{m:02d}:{s:02d}"
              for h in range(24) for m in range(60) for s in range(60)}
    announcements = []
    for cid in found:
        if cid == OPENING:
            announcements.append([])
        if announcements:
            announcements[-1].append(cid)
    for ids in announcements:
        print(spoken.get(tuple(ids), "? " + " ".join(map(str, ids))))
    print(f"stray {stray}")


def wait_end(path, timeout):
    sounds = load_sounds()
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            rec = clips.load_recording(path, growing=True)
        except (OSError, ValueError):
            rec = None
        if rec and len(rec) > clips.RATE and not any(rec[-clips.RATE:]) and any(rec):
            if any(c in clips.CLOSING for c in heard(sound_of(rec), sounds)[0]):
                return
        time.sleep(0.2)
    sys.exit(f"heard.py: no closing word followed by 1 s of silence in {path} within {timeout} s")


if __name__ == "__main__":
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "times":
        times(args[1])
    elif len(args) == 3 and args[0] == "wait-end":
        wait_end(args[1], float(args[2]))
    else:
        sys.exit(__doc__)
