#!/usr/bin/env python3
"""Wrap raw unsigned 8-bit mono samples (11025 Hz) into a RIFF/WAVE file.

usage: write_wav.py RAW OUT [odd] [fact] [pad|padriff] [junk]
  odd      force an odd sample count (else even) by dropping the last sample,
           which is always trailing silence
  fact     add a "fact" chunk (sample count) between "fmt " and "data"
  pad      write the RIFF pad byte after odd data, not counted in the RIFF length
  padriff  same, but the RIFF length counts it
  junk     append two stray bytes after everything else
"""
import struct
import sys

raw, out, *opts = sys.argv[1:]
samples = open(raw, "rb").read()
if len(samples) % 2 != ("odd" in opts):
    samples = samples[:-1]
n = len(samples)

body = struct.pack("<4sIHHIIHH", b"fmt ", 16, 1, 1, 11025, 11025, 1, 8)
if "fact" in opts:
    body += struct.pack("<4sII", b"fact", 4, n)
body += struct.pack("<4sI", b"data", n) + samples

tail = b"\x00" if ({"pad", "padriff"} & set(opts)) and n % 2 else b""
riff_len = 4 + len(body) + (len(tail) if "padriff" in opts else 0)
if "junk" in opts:
    tail += b"\xa5\x5a"

with open(out, "wb") as f:
    f.write(struct.pack("<4sI4s", b"RIFF", riff_len, b"WAVE") + body + tail)
