#!/usr/bin/env python3
"""Reads a channel CSV with the rules of the most used open-source radio programmer's CSV
reader, written down here from that format's documentation and independent of mzprog:

- the first line names the columns; cells are found by name;
- Location is an integer, Frequency a number of MHz;
- Duplex is "", "+", "-", "split" or "off"; Offset a number of MHz;
- Tone is "", "Tone", "TSQL", "DTCS", "DTCS-R", "TSQL-R" or "Cross";
- rToneFreq and cToneFreq must be numbers (an empty cell drops the row);
- DtcsCode and RxDtcsCode are integers, DtcsPolarity two letters of N and R;
- CrossMode is one of the seven cross modes;
- Mode is one of the known modes; TStep a number; Skip "", "S" or "P";
- Power must be a number of watts ("5W", "0.5W"); a level name such as "High" drops the row.

Prints a JSON list of what each row means: the transmit and receive tone ("T88.5",
"D023N", "" for none) are derived from Tone and CrossMode as that program does. Rows it
would drop are listed under "dropped" with the reason. Exit status 0 always when the file can
be read at all.
"""
import csv
import json
import re
import sys

MODES = {"WFM", "FM", "NFM", "AM", "NAM", "DV", "USB", "LSB", "CW", "RTTY", "DIG", "PKT",
         "NCW", "NCWR", "CWR", "P25", "Auto", "RTTYR", "FSK", "FSKR", "DMR", "DN"}
CROSS = {"Tone->Tone", "Tone->DTCS", "DTCS->Tone", "DTCS->", "->Tone", "->DTCS",
         "DTCS->DTCS"}
TONES = {"", "Tone", "TSQL", "DTCS", "DTCS-R", "TSQL-R", "Cross"}


def hz(mhz_text):
    whole, _, frac = mhz_text.strip().partition(".")
    frac = (frac + "000000")[:6]
    return int(whole) * 1000000 + int(frac)


def watts(text):
    m = re.fullmatch(r"\s*([0-9]+(?:\.[0-9]+)?)\s*W\s*", text, re.IGNORECASE)
    if not m:
        raise ValueError("power %r is not watts" % text)
    return float(m.group(1))


def row_meaning(r):
    loc = int(r["Location"])
    freq = hz(r["Frequency"])
    duplex = r.get("Duplex", "")
    if duplex not in ("", "+", "-", "split", "off"):
        raise ValueError("duplex %r" % duplex)
    offset = hz(r.get("Offset", "0") or "0")
    tmode = r.get("Tone", "")
    if tmode not in TONES:
        raise ValueError("tone mode %r" % tmode)
    rtone = float(r["rToneFreq"])  # raises on an empty cell, as the reader does
    ctone = float(r["cToneFreq"])
    dtcs = int(r.get("DtcsCode", "23") or "23", 10)
    rxdtcs = int(r.get("RxDtcsCode", "23") or "23", 10)
    pol = r.get("DtcsPolarity", "NN") or "NN"
    if not re.fullmatch(r"[NR][NR]", pol):
        raise ValueError("polarity %r" % pol)
    cross = r.get("CrossMode", "Tone->Tone") or "Tone->Tone"
    if cross not in CROSS:
        raise ValueError("cross mode %r" % cross)
    mode = r.get("Mode", "FM")
    if mode not in MODES:
        raise ValueError("mode %r" % mode)
    float(r.get("TStep", "5.00") or "5.00")
    skip = r.get("Skip", "")
    if skip not in ("", "S", "P"):
        raise ValueError("skip %r" % skip)
    power = watts(r["Power"])

    def t(v):
        return "T%.1f" % v

    def d(code, p):
        return "D%03d%s" % (code, p)

    tx = rx = ""
    if tmode == "Tone":
        tx = t(rtone)
    elif tmode == "TSQL":
        tx = rx = t(ctone)
    elif tmode == "DTCS":
        tx = d(dtcs, pol[0])
        rx = d(dtcs, pol[1])
    elif tmode == "Cross":
        txk, rxk = cross.split("->")
        if txk == "Tone":
            tx = t(rtone)
        elif txk == "DTCS":
            tx = d(dtcs, pol[0])
        if rxk == "Tone":
            rx = t(ctone)
        elif rxk == "DTCS":
            rx = d(rxdtcs, pol[1])
    return {"loc": loc, "freq_hz": freq, "duplex": duplex,
            "offset_hz": offset if duplex in ("+", "-") else 0, "tx": tx, "rx": rx,
            "mode": mode, "skip": skip, "watts": power}


def main():
    with open(sys.argv[1], newline="", encoding="utf-8") as f:
        rows = list(csv.DictReader(f))
    out = {"rows": [], "dropped": []}
    for n, r in enumerate(rows, start=2):
        try:
            out["rows"].append(row_meaning(r))
        except (ValueError, KeyError, TypeError) as e:
            out["dropped"].append("line %d: %s" % (n, e))
    json.dump(out, sys.stdout)


if __name__ == "__main__":
    main()
