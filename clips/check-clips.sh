#!/usr/bin/env bash
# Sanity check of the committed clips: chunk layout and a summary table.
cd "$(dirname "$0")" && exec python3 - <<'PY'
import glob, struct, sys
ok, odd = True, 0
files = sorted(glob.glob("*.wav"), key=lambda p: int(p[:-4]))
print(f"{'id':>4} {'bytes':>6} {'data':>6} {'sec':>6} odd fact tail")
for p in files:
    b = open(p, "rb").read()
    riff, rlen, wave = struct.unpack_from("<4sI4s", b)
    fmt = struct.unpack_from("<4sIHHIIHH", b, 12)
    off, fact = 36, None
    if b[off:off + 4] == b"fact":
        tag, flen, fact = struct.unpack_from("<4sII", b, off); off += 12
        ok &= flen == 4
    tag, n = struct.unpack_from("<4sI", b, off); end = off + 8 + n
    extra = b[end:]
    good = (riff, wave, tag) == (b"RIFF", b"WAVE", b"data") and \
        fmt == (b"fmt ", 16, 1, 1, 11025, 11025, 1, 8) and \
        fact in (None, n) and len(extra) <= 2 and (extra != b"\0" or n % 2) and \
        (rlen == end - 8 or (rlen == end - 7 and extra == b"\0"))
    tail = ("pad" if extra == b"\0" else "junk" if len(extra) == 2 else
            "-" if not extra else "?") + (" (in RIFF)" if rlen == end - 7 else "")
    ok &= good
    odd += n % 2
    print(f"{p[:-4]:>4} {len(b):>6} {n:>6} {n / 11025:6.3f} {'yes' if n % 2 else '':>3}"
          f" {'yes' if fact is not None else '':>4} {tail}{'' if good else '  BAD'}")
ok &= len(files) == 42
print(f"{len(files)} files, {odd} odd:", "OK" if ok else "FAILED")
sys.exit(0 if ok else 1)
PY
