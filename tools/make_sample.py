#!/usr/bin/env python3
"""Builds samples/sample.db, the default-database file the run command opens.

The channel data comes from samples/sample-source.json (real satellites, transponders and services
from public settings lists). The file is written here byte by byte, independently of the C++ writer,
so the tests can check that reading and writing it again gives the same bytes.
"""
import json
import struct
import sys


def bits(value, low, width):
    return (value & ((1 << width) - 1)) << low


def sat_record(sat, index, first_tp, tp_count):
    name = sat["name"].encode("latin-1")[:16].ljust(16, b"\0")
    position = sat["position"]
    w16 = bits(0, 0, 2) | bits(0, 2, 3) | bits(0, 5, 3)                       # TunerSel, VideoType, AudioType
    w20 = (bits(abs(position), 0, 11) | bits(0, 11, 2) | bits(3, 13, 4)        # Longitude, LnbType, 9750 MHz
           | bits(5, 17, 4) | bits(0, 21, 8) | bits(2, 29, 2)                  # 10600 MHz, DiSEqC12, Tone22K
           | bits(1 if position < 0 else 0, 31, 1))                           # Direction: west
    w24 = bits(index % 4, 0, 3) | bits(0, 3, 1) | bits(first_tp, 4, 13) | bits(tp_count, 17, 13)
    return name + struct.pack("<III", w16, w20, w24)


def tp_word(tp):
    return struct.pack("<I", bits(tp["freq_khz"] // 1000, 0, 14) | bits(tp["pol"] & 1, 14, 1)
                       | bits(tp["sr"] // 1000, 15, 16))


def prog_record(service, sat_index, tp_index, pmt_pid):
    pids = service["pids"]
    video = pids.get("00", 0)
    audio = pids.get("01", pids.get("04", 0))
    pcr = pids.get("03", video)
    radio = service["type"] == 2
    hd = service["type"] == 25
    p0 = bits(sat_index, 0, 13) | bits(tp_index, 13, 13) | bits(0, 30, 2)
    p4 = 0
    p8 = bits(service["sid"], 0, 16) | bits(1 if radio else 0, 29, 1) | bits(1 if service["ca"] else 0, 30, 1)
    p12 = bits(video, 0, 13) | bits(audio, 13, 13) | bits(1 if hd else 0, 26, 3) | bits(0, 29, 3)
    p16 = bits(pmt_pid, 0, 13) | bits(pcr, 13, 13)
    name = service["name"].encode("latin-1", errors="replace")[:41].ljust(44, b"\0")
    return struct.pack("<IIIII", p0, p4, p8, p12, p16) + name


def main(source, target):
    data = json.load(open(source, encoding="utf-8"))
    sats, tps, progs = [], [], []
    for sat_index, sat in enumerate(data["satellites"]):
        sats.append(sat_record(sat, sat_index, len(tps), len(sat["transponders"])))
        for tp in sat["transponders"]:
            tp_index = len(tps)
            tps.append(tp_word(tp))
            for n, service in enumerate(tp["services"]):
                progs.append(prog_record(service, sat_index, tp_index, 0x100 + n))
    with open(target, "wb") as f:
        f.write(b"Sg8K" + struct.pack("<III", len(sats), len(tps), len(progs)))
        f.write(b"".join(sats) + b"".join(tps) + b"".join(progs) + b"Eg8K")


if __name__ == "__main__":
    here = sys.path[0]
    main(sys.argv[1] if len(sys.argv) > 1 else f"{here}/../samples/sample-source.json",
         sys.argv[2] if len(sys.argv) > 2 else f"{here}/../samples/sample.db")
