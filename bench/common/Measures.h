#pragma once
// What the benchmarks of the main window measure with: the steady clock, the processor time of
// a process, and the large folders they open.

#include <QString>
#include <sys/resource.h>

namespace bench {

// Milliseconds of the steady clock, which every process on the machine shares.
double Now();
// Milliseconds of processor time, user and system, in `usage`.
double CpuMs(const rusage& usage);
// Milliseconds of processor time this process has used so far.
double SelfCpuMs();
// Fills a new `folder` with `count` empty files, half of them "zvuk_NNNNNN.wav" and half
// "text_NNNNNN.txt"; a folder that exists already is kept as it is. Exits when it cannot.
void MakeFolder(const QString& folder, int count);

} // namespace bench
