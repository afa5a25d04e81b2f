#pragma once

class PtyPair;
class TComm32;

// Event threads alive in this process, found by the name QThread gives them.
int EventThreadCount();

// Opens Comm on the slave side of Pty, watching received bytes only.
void OpenOnPty(TComm32 &Comm, const PtyPair &Pty);

// CPU time this process has used so far, in seconds.
double ProcessCpuSeconds();

// The rows of an idle-port test: a boolean column hangUp, the far side hung
// up or bytes left that nobody reads.
void AddIdlePortRows();
