#pragma once

class PtyPair;
class QByteArray;
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

// Reads what OnRxChar reports in pieces of at most PieceSize bytes, as the
// links' bounded buffers do, and appends them to Received.
void CollectInPieces(TComm32 &Comm, QByteArray &Received, int PieceSize);
