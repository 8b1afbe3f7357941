#include "stopsignals.h"

// How a stop request arrives is the system's own (stopsignals_linux.cpp, stopsignals_win.cpp).

StopSignals& StopSignals::instance() {
    static StopSignals* s = new StopSignals; // lives as long as the process
    return *s;
}
