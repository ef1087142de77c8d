#include "shell/Sound.h"

#include <utility>

namespace {
std::vector<const SAMPLE*>* observed = nullptr;
std::function<SAMPLE*(int)> voiceQuery;
bool silent = false;
}

int playSample(SAMPLE* sample) {
  if (observed != nullptr) observed->push_back(sample);
  if (sample == nullptr || silent) return -1;
  return play_sample(sample, 255, 128, 1000, 0);
}

SAMPLE* voiceSample(int voice) {
  if (voiceQuery) return voiceQuery(voice);
  if (voice < 0 || silent) return nullptr;
  return voice_check(voice);
}

void silenceSamples(bool silenced) { silent = silenced; }

void observePlayedSamples(std::vector<const SAMPLE*>* played) { observed = played; }

void overrideVoiceQuery(std::function<SAMPLE*(int voice)> query) { voiceQuery = std::move(query); }
