#pragma once

// Low latency on a USB serial adapter. An FTDI chip holds back received bytes for up to its
// latency timer (16 ms) before it hands them on; asked for low latency, the driver sets that
// timer to 1 ms. Every request the radio answers waits once for it, so a session of several
// hundred requests gains seconds. Ports that cannot carry the request (a pseudo-terminal, a
// port on the board without it) are used as they are.

enum class LowLatency {
    NotAsked,  // no port open yet
    Refused,   // the driver does not know the request: the port is used as it is
    AlreadyOn, // the port had it already; nothing to put back
    TurnedOn,  // set now; RestoreLatency puts the old setting back
};

// Asks the driver of the open descriptor fd for low latency.
LowLatency RequestLowLatency(int fd);
// Puts back what RequestLowLatency changed (only when it answered TurnedOn).
void RestoreLatency(int fd, LowLatency state);
