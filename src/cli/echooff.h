#pragma once

// Hides what is typed on the terminal while it lives (for the radio password); where the
// input is no terminal it does nothing (echooff_linux.cpp, echooff_win.cpp).
class EchoOff {
public:
    EchoOff();
    ~EchoOff();
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    unsigned long saved_ = 0;
    bool changed_ = false;
};
