// WAV sounds: the chunk check, then Allegro's loading from the file as the
// game and the enemy kinds load their samples, and the sample's release.
#include <allegro.h>

#include "fuzz/FuzzMedia.h"
#include "graphics/Resources.h"
#include "shell/SoundFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzSetUp();
  const char* path = "media/audio/fuzz.wav";
  writeInput(path, data, size);
  SamplePtr sample(loadSoundFile(path));
  if (!sample) return 0;
  // Every frame of the sample must be there to be played.
  const unsigned char* bytes = static_cast<const unsigned char*>(sample->data);
  const long frameBytes = (sample->bits / 8) * (sample->stereo ? 2 : 1);
  volatile unsigned sum = 0;
  for (long i = 0; i < static_cast<long>(sample->len) * frameBytes; i += 997) sum += bytes[i];
  (void)sum;
  return 0;
}
