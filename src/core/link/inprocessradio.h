#pragma once

// The virtual radio inside the program, for systems without pseudo-terminals (Windows): a
// session on the port named portName() talks to the core's VirtualRadio in this process, whose
// memory lives in a file between sessions.

#include <QString>

namespace InProcessRadio {
QString portName();
void setMemoryFile(const QString& path);
QString memoryFile();
} // namespace InProcessRadio
