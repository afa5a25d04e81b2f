#pragma once

// karvctl's exit codes, the same for every command.
enum ExitCode : int {
    ExitSuccess = 0,
    // The unit failed the operation: no reply, a verify difference, not a
    // Karvel 2, ...
    ExitUnitFailed = 1,
    ExitBadUsage = 2,
    ExitPortFailed = 3,
    // Ended by Ctrl+C (SIGINT) or SIGTERM: 128 + SIGINT, as shells report it.
    ExitInterrupted = 130,
};
