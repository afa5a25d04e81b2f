#pragma once

class PtyPair;
class TComm32;

// Event threads alive in this process, found by the name QThread gives them.
int EventThreadCount();

// Opens Comm on the slave side of Pty, watching received bytes only.
void OpenOnPty(TComm32 &Comm, const PtyPair &Pty);
