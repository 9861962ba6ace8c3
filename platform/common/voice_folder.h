#pragma once

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "core/voice/voice.h"

// Every WAV file of the user's voice folder, read once: `<id>.wav` for a clip id, and any other
// `.wav`, which is named so that the user learns it is not taken. A file that cannot be a
// recording (a folder or a FIFO in its place, a symlink loop, empty, larger than 4 MiB) is not
// read; it says why. A folder that is not there has no files.
std::vector<OwnRecording> readVoiceFolder(const std::filesystem::path& folder);

// The voice of the user's folder; under LURVENDEL_DEBUG=1 each file not taken says why on stderr.
Voice voiceOf(const std::filesystem::path& folder);

// What `--stimme` says through `say`, in German: the folder, each of the clips as built-in or own,
// each file not taken and why. The exit status: 0 when every file there was taken.
int reportVoice(const std::filesystem::path& folder,
                const std::function<void(std::string_view)>& say);
