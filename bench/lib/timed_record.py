#!/usr/bin/python3
"""Record the null sink "exact" like start_recording does, and tie the recording to the clock.

  timed_record.py OUT.wav       records until SIGTERM or SIGINT; prints "ready" once the
                                first samples have arrived
  timed_record.py at OUT.wav K...  the wall time (CLOCK_REALTIME, seconds since the epoch)
                                at which the sink played sample K of a finished recording

Writes OUT.wav (11025 Hz mono s16le; its data chunk is sized 0 while it grows, as clips.py
wait-end expects) and, when stopped, OUT.wav.reads (one line "ARRIVAL_TIME FIRST_SAMPLE
END_SAMPLE" per read from the recorder) and OUT.wav.timing with lines "name value":

  rate SAMPLES_PER_S  the sink's pace measured against the wall clock
  t0 SECONDS          wall time of sample 0 on the fitted line
  reads N             reads from the recorder
  read_ms P50 P90     sizes of the reads (one block of the sink each)
  late_ms P10 P50 P90 arrivals against the fitted line

How: the null sink wakes when a block is due, renders it and hands it to its monitor at once,
so each read from the recorder arrives a fraction of a millisecond after the sink played the
read's first sample. A line through the median arrivals of each second ties sample positions
to the wall clock; near a sample the median of the arrivals within half a second places it.
The stop time alone is off by up to a block and a read, and the sink's pace is not exactly
11025 samples a second: it advances its clock by whole microseconds per block, which comes
to about 200 ppm fast with 5 ms blocks (6 ms over a 30 s recording).
"""
import os
import select
import signal
import struct
import subprocess
import sys
import time

RATE = 11025


def header(data_bytes):
    return (b"RIFF" + struct.pack("<I", 36 + data_bytes if data_bytes else 0) + b"WAVE"
            + b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
            + b"data" + struct.pack("<I", data_bytes))


def percentiles(values, *ps):
    v = sorted(values)
    return [v[min(len(v) - 1, int(p * len(v)))] for p in ps] if v else [0] * len(ps)


def main(path):
    stop = []
    signal.signal(signal.SIGTERM, lambda *_: stop.append(1))
    signal.signal(signal.SIGINT, lambda *_: stop.append(1))
    rec = subprocess.Popen(
        ["parec", "--raw", "-d", "exact.monitor", "--latency-msec=5", "--format=s16le",
         f"--rate={RATE}", "--channels=1"], stdout=subprocess.PIPE)
    fd = rec.stdout.fileno()
    out = open(path, "wb")
    out.write(header(0))
    out.flush()
    total = 0  # bytes
    arrivals = []  # (wall time, samples so far)
    sizes = []
    try:
        while not stop:
            # A frozen server sends nothing: look for the stop request now and then.
            if not select.select([fd], [], [], 0.2)[0]:
                continue
            chunk = os.read(fd, 65536)
            now = time.time()
            if not chunk:
                break
            if not arrivals:
                print("ready", flush=True)
            out.write(chunk)
            out.flush()
            # The read's first sample: the sink rendered its block at the block's own time.
            arrivals.append((now, total // 2))
            sizes.append(len(chunk) // 2)
            total += len(chunk)
    finally:
        rec.terminate()
        rest = rec.stdout.read()
        rec.wait()
        out.write(rest)
        total += len(rest)
        total &= ~1
        out.truncate(44 + total)
        out.seek(0)
        out.write(header(total))
        out.close()
    if not arrivals:
        sys.exit("timed_record.py: no samples arrived")
    with open(path + ".reads", "w") as f:
        f.writelines(f"{t:.6f} {n} {n + s}\n" for (t, n), s in zip(arrivals, sizes))
    line = fit(list(zip(arrivals, sizes)))
    with open(path + ".timing", "w") as f:
        f.write(f"rate {1 / line[1]:.3f}\n")
        f.write(f"t0 {line[0]:.6f}\n")
        f.write(f"reads {len(arrivals)}\n")
        f.write("read_ms %.2f %.2f\n" % tuple(s * 1000 / RATE for s in percentiles(sizes, .5, .9)))
        res = [(t - line[0] - line[1] * n) * 1000 for t, n in arrivals]
        f.write("late_ms %.2f %.2f %.2f\n" % tuple(percentiles(res, .1, .5, .9)))


def fit(reads):
    """(t0, seconds per sample) of the sink's time line: a line through the median arrival of
    each second's reads. Seconds far off the line are left out, in two rounds: a server that
    was stopped renders what it owes in a burst when it goes on, and those reads arrive late."""
    windows = {}
    for (t, n), _ in reads:
        windows.setdefault(n // RATE, []).append((n, t - n / RATE))
    pts = [sorted(w, key=lambda p: p[1])[len(w) // 2] for w in windows.values()]
    a, b = sorted(y for _, y in pts)[len(pts) // 2], 0.0
    for tolerance in (0.02, 0.002):
        kept = [(x, y) for x, y in pts if abs(y - a - b * x) < tolerance]
        mx = sum(x for x, _ in kept) / len(kept)
        my = sum(y for _, y in kept) / len(kept)
        sxx = sum((x - mx) ** 2 for x, _ in kept)
        b = sum((x - mx) * (y - my) for x, y in kept) / sxx if sxx else 0.0
        a = my - b * mx
    return a, 1 / RATE + b


def at(path, samples):
    """Wall times of sample positions: the fitted line, moved onto the median of the reads
    within half a second that keep to the line within 2 ms (the sink's block size, and with
    it its pace, changes a little while a client plays)."""
    reads = []
    with open(path + ".reads") as f:
        for line in f:
            t, n, _ = line.split()
            reads.append(((float(t), int(n)), 0))
    t0, per = fit(reads)
    for k in samples:
        near = sorted(r for r in (t - t0 - per * n for (t, n), _ in reads
                                  if abs(n - k) <= RATE // 2) if abs(r) < 0.002)
        shift = near[len(near) // 2] if near else 0.0
        print(f"{t0 + per * k + shift:.6f}")


if __name__ == "__main__":
    if len(sys.argv) == 2:
        main(sys.argv[1])
    elif len(sys.argv) >= 4 and sys.argv[1] == "at":
        at(sys.argv[2], [int(k) for k in sys.argv[3:]])
    else:
        sys.exit(__doc__)
