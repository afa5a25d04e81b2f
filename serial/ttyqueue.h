#pragma once

// The kernel queues of an open tty, shared by the component (main thread)
// and its event thread.
namespace TtyQueue {

// Bytes received and not yet read; 0 when the tty cannot tell (hung up).
int InputCount(int Fd);
// Bytes written and not yet sent; 0 when the tty cannot tell. A
// pseudo-terminal hands everything over at once and always reports 0.
int OutputCount(int Fd);
void DropInput(int Fd);
void DropOutput(int Fd);

} // namespace TtyQueue
