#include "shell/Sound.h"

#include <utility>

namespace {
std::vector<const SAMPLE*>* observed = nullptr;
std::function<SAMPLE*(int)> voiceQuery;
}

int playSample(SAMPLE* sample) {
  if (observed != nullptr) observed->push_back(sample);
  if (sample == nullptr) return -1;
  return play_sample(sample, 255, 128, 1000, 0);
}

SAMPLE* voiceSample(int voice) {
  if (voiceQuery) return voiceQuery(voice);
  if (voice < 0) return nullptr;
  return voice_check(voice);
}

void observePlayedSamples(std::vector<const SAMPLE*>* played) { observed = played; }

void overrideVoiceQuery(std::function<SAMPLE*(int voice)> query) { voiceQuery = std::move(query); }
