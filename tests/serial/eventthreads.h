#pragma once

// Event threads alive in this process, found by the name QThread gives them.
int EventThreadCount();
