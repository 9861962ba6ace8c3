# Writes OUTPUT, a C++ source that holds every clips/<id>.wav of CLIP_DIR as the clip store.
file(GLOB wavs "${CLIP_DIR}/*.wav")
set(ids "")
foreach(wav ${wavs})
  get_filename_component(id "${wav}" NAME_WE)
  list(APPEND ids ${id})
endforeach()
list(SORT ids COMPARE NATURAL)

set(arrays "")
set(entries "")
foreach(id ${ids})
  file(READ "${CLIP_DIR}/${id}.wav" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  string(APPEND arrays "const std::uint8_t clip${id}[] = {\n${bytes}};\n")
  string(APPEND entries "    {${id}, clip${id}},\n")
endforeach()

file(WRITE "${OUTPUT}.tmp" "// Generated from clips/*.wav by clips/embed.cmake; do not edit.
#include \"core/speech/clip_store.h\"

namespace {
${arrays}
const StoredClip store[] = {
${entries}};
}  // namespace

std::span<const StoredClip> ATM_SOUND() { return store; }
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
