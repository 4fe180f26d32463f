#!/usr/bin/env python3
"""Takes the small subset of a public settings list that the sample database is made from.

Run once by the maintainers with the full list; its output, samples/sample-source.json, is committed,
so tools/make_sample.py needs nothing outside the repository.
"""
import json
import sys

# Satellite position (tenths of a degree, west negative) -> short receiver name (16 bytes at most).
PICK = {130: "Hot Bird 13E", 192: "Astra 19.2E", 282: "Astra 28.2E", -70: "Nilesat 7W", 260: "Badr 26E"}
MAX_TPS = 9
MAX_PROGS_PER_TP = 9


def is_high(name):
    try:
        return any(b >= 0x80 for b in name.encode("latin-1"))
    except UnicodeEncodeError:
        return False


def high_names(tp):
    return sum(1 for v in tp["services"] if is_high(v["name"]))


def main(source, target):
    data = json.load(open(source, encoding="utf-8"))
    out = {"provenance": data["provenance"], "satellites": []}
    for sat in data["satellites"]:
        position = sat["sat"]["position"]
        if position not in PICK:
            continue
        # Prefer transponders whose names use bytes above 0x7F, so the sample shows them.
        tps = sorted(sat["transponders"], key=lambda t: (-high_names(t), -len(t["services"])))[:MAX_TPS]
        tps.sort(key=lambda t: t["tp"]["freq_khz"])
        out["satellites"].append({
            "name": PICK[position],
            "position": position,
            "transponders": [{
                "freq_khz": t["tp"]["freq_khz"], "pol": t["tp"]["pol"], "sr": t["tp"]["sr"],
                "services": sorted(t["services"], key=lambda v: not is_high(v["name"]))[:MAX_PROGS_PER_TP],
            } for t in tps],
        })
    with open(target, "w", encoding="utf-8") as f:
        json.dump(out, f, ensure_ascii=False, indent=1)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
