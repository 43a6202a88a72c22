// The probe's waits on what the running program says of itself
// (PWM_QUERY_STATUS): a scenario waits on these instead of on time.
#pragma once
#include <windows.h>

#include <cstdint>

//   probe status CLASS       moving=0|1 inside=0|1 loading=0|1 queued=0|1 telling=0|1
//                            fullscreen=0|1 settings=0|1 ticks=N of the
//                            first window of the class (exit 1: no answer)
int Status(const char* className);
//   probe quiet CLASS MS     waits (up to MS) until nothing moves or bombs, no
//                            picture folder loads, no posted message waits and
//                            the main thread waits in its own loop (no menu
//                            shows) and no message box of the program shows;
//                            prints the status it last saw (exit 1 at the deadline)
int Quiet(const char* className, DWORD ms);
//   probe still CLASS MS     waits (up to MS) until nothing moves or bombs and no
//                            posted input waits (a folder may load, a box show);
//                            prints the status it last saw (exit 1 at the deadline)
int Still(const char* className, DWORD ms);
//   probe ticks CLASS N MS   waits (up to MS) until the program has handled N
//                            more motion ticks, or until its motion timer is
//                            off (nothing moves); prints the status it last saw
//                            (exit 1 at the deadline)
int Ticks(const char* className, unsigned n, DWORD ms);
// The same wait without a word: whether the ticks passed in time.
bool TicksPass(const char* className, unsigned n, DWORD ms);
// The motion ticks the program has handled so far; false without an answer.
bool ProgramTicks(const char* className, uint32_t* ticks);
