#!/usr/bin/env bash
# Builds the WAV parser fuzzer with clang and runs it, seeded with the clip store.
# Usage: tests/fuzz/run.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=build/fuzz
mkdir -p "$out/corpus"
cp clips/*.wav "$out/corpus/"
clang++-14 -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
  tests/fuzz/wav_fuzzer.cpp speech/wav_image.cpp -o "$out/wav_fuzzer"
"$out/wav_fuzzer" -max_total_time="${1:-60}" -max_len=65536 "$out/corpus"
