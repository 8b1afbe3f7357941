#pragma once

// The map between the radio image that the editors work on and the radio's main memory.

#include "../model/records.h"
#include "membuf.h"

// Memory addresses of the map.
namespace memaddr {
constexpr int PresentBits = 0x1900;
constexpr int ScanBits = 0x1940;
constexpr int MemChannels = 0x1980; // channels 402..409
constexpr int VfoChannel = 0x1A00;  // channel 401
constexpr int WorkGroup = 0x1A11;
constexpr int UseMem = 0x1A12;
constexpr int DtmfSlotBits = 0x1A19;
constexpr int MemWorkCH = 0x1A1B;
constexpr int MemPresentBits = 0x1A1C;
constexpr int MemScanBits = 0x1A1D;
constexpr int GroupValidBits = 0x1A1E;
constexpr int WorkCH = 0x1A20;
constexpr int PublicCH = 0x1A30;
constexpr int Beep = 0x1A40;
constexpr int TOT = 0x1A41;
constexpr int Backlight = 0x1A42;
constexpr int Volume = 0x1A43;
constexpr int SqlLevel = 0x1A44;
constexpr int Asq = 0x1A45;
constexpr int Gain = 0x1A46;
constexpr int CHDisplay = 0x1A47;
constexpr int KeySet = 0x1A48;
constexpr int ScanType = 0x1A49;
constexpr int ScanTime = 0x1A4A;
constexpr int SqlBack = 0x1A4B;
constexpr int AsqBack = 0x1A4C;
constexpr int AutoPowerOn = 0x1A4D;
constexpr int DtmfSettings = 0x1A4E;
constexpr int MaxSwr = 0x1A54;
constexpr int MemEditSwr = 0x1A55;
constexpr int KeyFun = 0x1A80;
constexpr int EmgCH1 = 0x1AA0;
constexpr int EmgCH2 = 0x1AB0;
constexpr int EmgMode1 = 0x1AC0;
constexpr int EmgMode2 = 0x1AD0;
constexpr int ToneTips = 0x1B00;
constexpr int DtmfCodes = 0x1C00;
} // namespace memaddr

// Where the 16 bytes of channel chNo (1..409) live; -1 for any other number.
int ChannelAddress(int chNo);

// The 16-byte channel encoding. Bytes 0..2 hold the frequency; the public channel uses only
// bytes 3..15 (from = 3).
void PackChannel(const CHInfoRec& ch, std::uint8_t* out, int from = 0);
void UnpackChannelFields(const std::uint8_t* in, CHInfoRec& ch);
QString UnpackRxFre(const std::uint8_t* in);

// Packs the first CHCount channels and the radio-wide records into mem. Bytes that no record
// covers keep what mem held, so the caller starts from an all-zero buffer.
void PackMemBuf(const RadioDataRec& data, const ChannelList& channels, MemBuf& mem);
// Replaces the channel list and the exchanged fields of data from mem. radioCountryMode is the
// mode the radio reported: in mode 0 channels 361..401 are not taken. Fields that the radio
// does not keep (GroupSel, the spare words, the public channel's frequency) stay as they were.
void UnpackMemBuf(const MemBuf& mem, int radioCountryMode, RadioDataRec& data,
                  ChannelList& channels);

void PackDtmf(const DTMFRec& dtmf, MemBuf& mem);
void UnpackDtmf(const MemBuf& mem, DTMFRec& dtmf);
void PackKeys(const KeyRec& keys, MemBuf& mem);
void UnpackKeys(const MemBuf& mem, KeyRec& keys);
// Tip t (1..8) occupies 30 bytes from this address.
int ToneTipAddress(int t);
void PackToneTips(const ToneTipsRec& tips, MemBuf& mem);
void UnpackToneTips(const MemBuf& mem, ToneTipsRec& tips);
