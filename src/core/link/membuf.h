#pragma once

// The program's copies of the radio's memory, by radio address.

#include <array>
#include <cstdint>

constexpr int BlockSize = 16;
// Main memory: radio addresses 0x0000..0x1CFF, 464 blocks.
constexpr int MemSize = 0x1D00;
// Information area: radio addresses 0x3E00..0x3EFF, 16 blocks.
constexpr int InfoBase = 0x3E00;
constexpr int InfoSize = 0x100;
// The block inside the information area whose bytes 12..15 hold the programming password.
constexpr int PassBlockAddr = 0x3E10;

using MemBuf = std::array<std::uint8_t, MemSize>;
using InfoBuf = std::array<std::uint8_t, InfoSize>;

static_assert(MemSize == 7424 && MemSize % BlockSize == 0);
