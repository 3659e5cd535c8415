#ifndef KOVO_TESTS_SUPPORT_GAMETIMESOUND_H
#define KOVO_TESTS_SUPPORT_GAMETIMESOUND_H

namespace testsupport {

// The sound of the tests runs on game time. Under the test command's silent OpenAL driver
// ("null"), the device the game opens is OpenAL's loopback device, which mixes only when a
// test says that time has passed: a sound then lasts as many frames on any machine, however
// busy it is. Under other drivers (the wave writer, a driver that does not exist) the device
// opens as asked and mixes on the machine's clock.

// A frame of `ms` passes for the sound: mixed on the tests' device; nothing on another one,
// which mixes by itself.
void advanceSound(unsigned int ms);
// `ms` of sound time pass before the test goes on: mixed at once on the tests' device,
// waited for on another one.
void letSoundRun(unsigned int ms);

}  // namespace testsupport

#endif
