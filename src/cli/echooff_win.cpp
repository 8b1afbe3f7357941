#include "echooff.h"

#include <windows.h>

EchoOff::EchoOff() {
    HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!::GetConsoleMode(in, &mode)) return;
    saved_ = mode;
    changed_ = ::SetConsoleMode(in, mode & ~DWORD(ENABLE_ECHO_INPUT));
}

EchoOff::~EchoOff() {
    if (changed_) ::SetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), DWORD(saved_));
}
