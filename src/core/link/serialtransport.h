#pragma once

// The serial line on a real port: the system's own serial port code behind LinkTransport
// (serialtransport_linux.h: the serial port library on a device or a pseudo-terminal;
// serialtransport_win.h: overlapped I/O on a COM port).

#include <QtGlobal>

#ifdef Q_OS_WIN
#include "serialtransport_win.h"
#else
#include "serialtransport_linux.h"
#endif
