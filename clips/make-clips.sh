#!/usr/bin/env bash
# Regenerates the clock's voice clips and signal tones (clips/<id>.wav).
# The build never runs this; its outputs are committed. Deterministic: same
# espeak-ng/sox versions give byte-identical files.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

declare -A WORDS=(
  [1]=eins [2]=zwei [3]=drei [4]=vier [5]=fünf [6]=sechs [7]=sieben [8]=acht
  [9]=neun [10]=zehn [11]=elf [12]=zwölf [13]=dreizehn [14]=vierzehn
  [15]=fünfzehn [16]=sechzehn [17]=siebzehn [18]=achtzehn [19]=neunzehn
  [20]=zwanzig [30]=dreißig [40]=vierzig [50]=fünfzig
  [97]=null [98]=ein [99]=und
  [101]=einund [102]=zweiund [103]=dreiund [104]=vierund [105]=fünfund
  [106]=sechsund [107]=siebenund [108]=achtund [109]=neunund
  [200]=Uhr [300]="Es ist" [600]=Sekunden [610]=Sekunde [700]=eine
)

# WAV writers in the wild disagree on odd-length data, the RIFF pad byte (and
# whether the RIFF length counts it), "fact" chunks and trailing garbage.
# The clips deliberately cover all of these so the player's parser has to
# cope with each of them; every other clip is canonical and even.
declare -A LAYOUT=(
  [3]="odd fact padriff" [97]="odd fact padriff" [400]="odd padriff"
  [4]="fact"
  [1]="odd pad" [7]="odd pad" [11]="odd pad" [19]="odd pad" [30]="odd pad"
  [50]="odd pad" [103]="odd pad"
  [17]="odd" [107]="odd" [610]="odd"
  [8]="junk" [40]="junk" [600]="junk"
)

# To 8-bit unsigned at 11025 Hz. No dither: keeps silence exactly at 128 and
# the output reproducible.
to_u8() { sox -D "$1" -t raw -e unsigned-integer -b 8 -c 1 "$2" "${@:3}"; }

# Words: calm rate, leading/trailing silence cut to 30 ms (it is the only gap
# between chained words), all peak-normalised to the same level.
for id in "${!WORDS[@]}"; do
  espeak-ng -v de -s 150 -w "$tmp/w.wav" "${WORDS[$id]}"
  to_u8 "$tmp/w.wav" "$tmp/$id.raw" norm -1 \
    silence 1 0.005 -50d reverse silence 1 0.005 -50d reverse \
    rate -v 11025 pad 0.03 0.03 norm -1
done

# One soft chime stroke: sine with weak 2nd/3rd harmonics, fast attack and a
# decay steady in dB, reaching silence after "ring" seconds. Args: out freq ring onset
note() {
  sox -n -r 22050 "$1" synth "$3" sine "$2" sine "$(($2 * 2))" sine "$(($2 * 3))" \
    remix 1v0.7,2v0.2,3v0.1 fade l 0.004 "$3" "$3" pad "$4"
}
# Mix strokes "freq:ring:onset ..." into one signal cut to the given length.
chime() {
  local out=$1 total=$2 i=0 files=()
  shift 2
  for s in "$@"; do
    IFS=: read -r f len at <<<"$s"
    note "$tmp/n$i.wav" "$f" "$len" "$at"
    files+=("$tmp/n$i.wav"); i=$((i + 1))
  done
  sox -m "${files[@]}" "$tmp/mix.wav" trim 0 "$total"
  to_u8 "$tmp/mix.wav" "$out" rate -v 11025 norm "$SIGNAL_PEAK"
}
# Tones carry more energy per peak than speech; this peak level makes them
# about as loud as the words.
SIGNAL_PEAK=-6
# Alarm: two "ding-dong" pairs, lively but not shrill.
chime "$tmp/400.raw" 2.0 988:1.2:0 784:1.4:0.25 988:1.2:1.0 784:1.4:1.25
# Announcement: slow rising G-major arpeggio that rings out.
chime "$tmp/500.raw" 3.6 392:3:0 494:3:0.5 587:3:1.0 784:4:1.5

for raw in "$tmp"/*.raw; do
  id=$(basename "$raw" .raw)
  # shellcheck disable=SC2086 # layout words are separate flags
  python3 write_wav.py "$raw" "$id.wav" ${LAYOUT[$id]:-}
done
