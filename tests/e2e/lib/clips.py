#!/usr/bin/python3
"""Find the clock's voice clips in a recording of the null sink, by their exact samples.

  clips.py find REC              the analysis below, for a recording made by start_recording
  clips.py wait-end REC TIMEOUT  waits while REC grows until it holds a closing word (600 or
                                 610) or ends in a whole "Es ist" announcement, and then in at
                                 least 1 s of silence; exits 1 on timeout
  clips.py sequence H M S        the clip ids that "Sprich" speaks at H:M:S, one line
  clips.py times REC             a line for each announcement that "Es ist" opens in REC: the
                                 time of day HH:MM:SS it speaks, complete and in order, or "?"
                                 and its clip ids
  clips.py --padded times|wait-end ...
                                 the same where the sound stack may pad silence anywhere, even
                                 inside a word (wine, on a busy machine): a clip counts when every
                                 sample of its sound comes, in order; "times" ends with
                                 "stray N", the samples of sound that no clip explains

The analysis has one line each, in order of position:

  clip ID START END    a clip found whole, sample for sample; START/END are sample
                       positions (END exclusive), silent edges of the clip included
  gap ID1 ID2 MS       from the end of one clip to the start of the next (negative: the
                       next started inside the silent tail of the one before)
  sound START END      sound that no clip explains (a changed, cut, starved or mixed clip)
  length SAMPLES       the recording's length

A clip's u8 sample v arrives in the sink's s16 as (v - 128) << 8; clips begin and end in
exact silence (128), so each is indexed by its first samples of sound and then compared
whole, silent edges included.

With E2E_RATE (the sink's rate, 11025 unless set) and E2E_VOICE (a folder of own recordings
<id>.wav, which replace their clips), the clips are expected as the clock converts them for a
voice of that rate: 16 bit, mono, the rate changed by linear interpolation.
"""
import array
import functools
import glob
import math
import os
import struct
import sys
import time

RATE = int(os.environ.get("E2E_RATE", "11025"))
KEY = 16  # samples of sound that index a clip
CLOSING = {600, 610}
DEFAULT_CLIPS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../clips")


def chunks(data):
    """Yields (id, offset, size) of each chunk of a RIFF/WAVE file."""
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError("not a RIFF/WAVE file")
    off = 12
    while off + 8 <= len(data):
        cid, size = struct.unpack_from("<4sI", data, off)
        yield cid, off + 8, size
        off += 8 + size + (size & 1)


def pcm(data, growing=False):
    """((tag, channels, rate, width), the data chunk's bytes) of a PCM file.
    growing: the file is still being written; its data chunk, sized 0 until the writer
    closes it, runs to the end of what the file holds so far."""
    fmt = samples = None
    for cid, off, size in chunks(data):
        if cid == b"fmt " and fmt is None:
            tag, channels, rate, _, _, width = struct.unpack_from("<HHIIHH", data, off)
            fmt = (tag, channels, rate, width)
        elif cid == b"data" and samples is None:
            samples = data[off:] if growing and size == 0 else data[off:off + size]
            if growing:
                break
    if fmt is None or samples is None or fmt[0] not in (1, 0xFFFE):
        raise ValueError("no PCM fmt or no data chunk")
    return fmt, samples


def as_heard(fmt, samples):
    """The sink's s16 samples of a clip of 8 or 16 bits played by a clock whose voice has the
    sink's rate."""
    _, channels, rate, width = fmt
    if (channels, rate, width) == (1, RATE, 8):
        return array.array("h", ((v - 128) << 8 for v in samples))
    values = (array.array("h", samples) if width == 16 else [(v - 128) * 256 for v in samples])
    frames = [sum(values[i:i + channels]) / channels / 32768
              for i in range(0, len(values), channels)]
    step = rate / RATE
    out = array.array("h")
    for j in range(math.floor(len(frames) / step + 0.5)):
        pos = j * step
        i = int(pos)
        after = frames[min(i + 1, len(frames) - 1)]
        v = (frames[i] + (after - frames[i]) * (pos - i)) * 32768
        out.append(max(-32768, min(32767, int(math.copysign(math.floor(abs(v) + 0.5), v)))))
    return out


def load_clips(folder):
    clips = {}
    for where in (folder, os.environ.get("E2E_VOICE")):
        for path in glob.glob(os.path.join(where, "*.wav")) if where else ():
            with open(path, "rb") as f:
                try:
                    clips[int(os.path.basename(path)[:-4])] = as_heard(*pcm(f.read()))
                except ValueError:
                    pass  # as the clock leaves a broken recording
    if not clips:
        sys.exit(f"clips.py: no clips in {folder}")
    return clips


def load_recording(path, growing=False):
    with open(path, "rb") as f:
        data = f.read()
    fmt, samples = pcm(data, growing)
    if fmt[1:] != (1, RATE, 16):
        raise ValueError(f"format {fmt}, expected PCM mono {RATE} Hz 16 bit")
    rec = array.array("h")
    rec.frombytes(samples[:len(samples) & ~1])
    if sys.byteorder != "little":
        rec.byteswap()
    return rec


def index(clips):
    """{first KEY samples of sound: [(id, offset of that sound in the clip)]}."""
    idx = {}
    for cid, s in clips.items():
        first = next(i for i, v in enumerate(s) if v)
        idx.setdefault(s[first:first + KEY].tobytes(), []).append((cid, first))
    return idx


def match(rec, clip, start):
    """The end of the clip in the recording from start on, silent edges included, or None."""
    n = len(clip)
    return start + n if start >= 0 and rec[start:start + n] == clip else None


def analyse(rec, clips, idx):
    """Returns ([(id, start, end)], [(start, end)] of unexplained sound)."""
    found, covered_to, stray = [], 0, []
    raw = memoryview(rec.tobytes())
    for p in range(len(rec)):
        if not rec[p] or (p and rec[p - 1]) or p < covered_to:
            continue
        best = None
        for cid, first in idx.get(bytes(raw[2 * p:2 * (p + KEY)]), ()):
            end = match(rec, clips[cid], p - first)
            if end and (best is None or end > best[2]):  # the longest clip that matches
                best = (cid, p - first, end)
        if best:
            found.append(best)
            covered_to = best[2]
    # Sound outside the clips found, merged where less than 100 ms apart.
    spans = iter((s, e) for _, s, e in found)
    span = next(spans, None)
    for p, v in enumerate(rec):
        while span and p >= span[1]:
            span = next(spans, None)
        if not v or (span and span[0] <= p):
            continue
        if stray and p - stray[-1][1] < RATE // 10:
            stray[-1][1] = p + 1
        else:
            stray.append([p, p + 1])
    return found, stray


def report(rec, found, stray):
    events = [(s, f"clip {cid} {s} {e}") for cid, s, e in found]
    for (a, _, e), (b, s, _) in zip(found, found[1:]):
        events.append((s, f"gap {a} {b} {(s - e) * 1000 / RATE:.1f}"))
    events += [(s, f"sound {s} {e}") for s, e in stray]
    for _, line in sorted(events, key=lambda t: t[0]):
        print(line)
    print(f"length {len(rec)}")


def padded_analysis(rec, clips):
    """([clip ids] in order, samples of sound that no clip explains), silence ignored."""
    sounds = {cid: [v for v in s if v] for cid, s in clips.items()}
    idx = {}
    for cid, sound in sounds.items():
        idx.setdefault(tuple(sound[:KEY]), []).append(cid)
    rec = [v for v in rec if v]
    found, stray, p = [], 0, 0
    while p < len(rec):
        fits = [c for c in idx.get(tuple(rec[p:p + KEY]), ()) if rec[p:p + len(sounds[c])] == sounds[c]]
        if fits:
            found.append(max(fits, key=lambda c: len(sounds[c])))
            p += len(sounds[found[-1]])
        else:
            stray += 1
            p += 1
    return found, stray


def heard(rec, clips, idx, padded):
    """The clip ids found in order, and the stray samples when padded."""
    if padded:
        return padded_analysis(rec, clips)
    return [cid for cid, *_ in analyse(rec, clips, idx)[0]], None


def wait_end(path, timeout, clips, idx, padded=False):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            rec = load_recording(path, growing=True)
        except (OSError, ValueError, struct.error):
            rec = None
        # Cheap test first: keeps this poll from taking the CPU that playback needs.
        if rec and len(rec) > RATE and not any(rec[-RATE:]) and any(rec):
            ids = heard(rec, clips, idx, padded)[0]
            if CLOSING & set(ids) or ends_whole(ids):
                return
        time.sleep(0.2)
    sys.exit(f"clips.py: no announcement ended by 1 s of silence in {path} within {timeout} s")


def number(value, use):
    """Clips for a number spoken as hour, minute or second."""
    if value == 0:
        return [97] if use == "hour" else []
    if value == 1:
        return [{"hour": 98, "minute": 1, "second": 700}[use]]
    unit = value % 10
    return [value] if value <= 20 or unit == 0 else [100 + unit, value - unit]


def sequence(h, m, s):
    ids = [300] + number(h, "hour") + [200]
    if m == 0:
        return ids
    ids += number(m, "minute")
    if s:
        ids += [99] + number(s, "second") + [610 if s == 1 else 600]
    return ids


@functools.cache
def spoken():
    """Each time of day, HH:MM:SS, by the clips that "Sprich" speaks for it."""
    return {tuple(sequence(h, m, s)): f"{h:02d}:{m:02d}:{s:02d}"
            for h in range(24) for m in range(60) for s in range(60)}


def ends_whole(ids):
    """Whether the last announcement that "Es ist" opens is whole: one in a minute's first
    second or in an hour's first minute has no closing word."""
    return 300 in ids and tuple(ids[len(ids) - 1 - ids[::-1].index(300):]) in spoken()


def times(path, clips, padded=False):
    found, stray = heard(load_recording(path), clips, index(clips), padded)
    announcements = []
    for cid in found:
        if cid == 300:
            announcements.append([])
        if announcements:
            announcements[-1].append(cid)
    for ids in announcements:
        print(spoken().get(tuple(ids), "? " + " ".join(map(str, ids))))
    if padded:
        print(f"stray {stray}")


def main(args):
    padded = args[:1] == ["--padded"]
    args = args[padded:]
    if len(args) == 2 and args[0] == "find":
        clips = load_clips(DEFAULT_CLIPS)
        rec = load_recording(args[1])
        report(rec, *analyse(rec, clips, index(clips)))
    elif len(args) == 3 and args[0] == "wait-end":
        clips = load_clips(DEFAULT_CLIPS)
        wait_end(args[1], float(args[2]), clips, index(clips), padded)
    elif len(args) == 2 and args[0] == "times":
        times(args[1], load_clips(DEFAULT_CLIPS), padded)
    elif len(args) == 4 and args[0] == "sequence":
        print(*sequence(*map(int, args[1:])))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
