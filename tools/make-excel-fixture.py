#!/usr/bin/env python3
"""Turns the shared real channel list (JSON) into the small tab-separated file the spreadsheet
tests read: S(atellite) / T(ransponder) / P(rogram) lines, in tree order, names in UTF-8.

Usage: tools/make-excel-fixture.py ../shared/fixtures/real-source.json > tests/data/excel/channels.tsv
"""
import json
import sys


def clean(name):
    return name.replace("\t", " ").replace("\n", " ").replace("\r", " ")


def main(path):
    data = json.load(open(path, encoding="utf-8"))
    out = sys.stdout
    for sat in data["satellites"]:
        info = sat["sat"]
        out.write("S\t%s\t%d\n" % (clean(info["xml_name"]), info["position"]))
        seen = set()
        for tp in sat["transponders"]:
            t = tp["tp"]
            key = (t["freq_khz"] // 1000, t["sr"] // 1000, t["pol"] & 1)
            if key in seen:  # the receiver keys a transponder by these three values
                continue
            seen.add(key)
            out.write("T\t%d\t%d\t%d\n" % key)
            for svc in tp["services"]:
                pids = svc.get("pids", {})
                out.write("P\t%s\t%d\t%d\t%d\t%d\t%d\t%d\n" % (
                    clean(svc["name"]), svc["sid"], pids.get("00", 0), pids.get("01", 0),
                    pids.get("03", 0), 1 if svc.get("ca", 0) else 0, svc.get("type", 0)))


if __name__ == "__main__":
    main(sys.argv[1])
