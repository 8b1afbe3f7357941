#include "echooff.h"

#include <termios.h>
#include <unistd.h>

namespace {
termios savedTerminal{};
}

EchoOff::EchoOff() {
    if (tcgetattr(STDIN_FILENO, &savedTerminal) != 0) return;
    termios hidden = savedTerminal;
    hidden.c_lflag &= ~tcflag_t(ECHO);
    changed_ = tcsetattr(STDIN_FILENO, TCSANOW, &hidden) == 0;
}

EchoOff::~EchoOff() {
    if (changed_) tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
}
