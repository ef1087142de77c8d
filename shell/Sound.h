#pragma once
// Every sample in the game starts the same way: full volume, centred, at its
// own pitch, once. Going through here also lets tests see what was played.
#include <allegro.h>

#include <functional>
#include <vector>

// play_sample(sample, 255, 128, 1000, 0); returns the voice (or -1).
int playSample(SAMPLE* sample);

// The sample a voice is playing (voice_check), nullptr for a free or
// invalid voice.
SAMPLE* voiceSample(int voice);

// While silenced, playSample plays nothing and voiceSample sees every voice
// free. A forked process that ticks a Game (the editor's background checks)
// must not reach the sound driver, whose lock a thread of its parent may
// have held at the fork, and which no thread of its own drives.
void silenceSamples(bool silenced);

// Tests: while set, every playSample call appends its sample here.
void observePlayedSamples(std::vector<const SAMPLE*>* played);

// Tests: while set, voiceSample answers with this instead of voice_check, so
// a test can make a voice look busy or free (headless, no voice ever plays).
// Pass an empty function to go back to voice_check.
void overrideVoiceQuery(std::function<SAMPLE*(int voice)> query);
