#!/usr/bin/env python3
"""Writes a workbook in the export layout (a "Satellites" sheet and one program sheet per satellite,
19 columns, every cell a String), UTF-8, laid out as the workbook layer writes it, of about SIZE MB.

usage: make_workbook.py OUT.xls SIZE_MB
"""
import sys

HEAD = ('<?xml version="1.0"?>\r\n<?mso-application progid="Excel.Sheet"?>\r\n'
        '<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet"\r\n'
        ' xmlns:o="urn:schemas-microsoft-com:office:office"\r\n'
        ' xmlns:x="urn:schemas-microsoft-com:office:excel"\r\n'
        ' xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet"\r\n'
        ' xmlns:html="http://www.w3.org/TR/REC-html40">\r\n')
PROG_HEADER = ["ProgName", "Fre", "SymbolRate", "Polar", "VPID", "APID", "PCRPID", "Scramble", "Hide", "Track",
               "ServiceId", "PmtPid", "AvType", "Lock", "Skip", "FavType", "TunerSel", "VideoType", "AudioType"]
SAT_HEADER = ["select", "SateName", "ProgSheet", "Longitude", "LocalFre1", "LocalFre2", "12V", "22K", "DiSEqC",
              "DiSEqC12", "Direction", "LnbType", "DisEqC Motor", "TunerSel", "VideoType", "AudioType"]


def row(cells):
    parts = ['<Row ss:AutoFitHeight="0">']
    for text in cells:
        parts.append('<Cell>\r\n<Data ss:Type="String">%s</Data>\r\n</Cell>' % text)
    return '\r\n'.join(parts) + '\r\n</Row>'


def table(rows, columns):
    return ('<Table ss:ExpandedColumnCount="%d" ss:ExpandedRowCount="%d">\r\n' % (columns, len(rows))
            + '\r\n'.join(rows) + '\r\n</Table>')


def main():
    out, size_mb = sys.argv[1], float(sys.argv[2])
    target = int(size_mb * 1024 * 1024)
    per_sat = 2000
    program_row = len(row(["Programme 00000"] + ["12345"] * 18)) + 2
    sats = max(1, target // (program_row * per_sat))
    with open(out, 'w', encoding='utf-8', newline='') as f:
        f.write(HEAD)
        sat_rows = [row(SAT_HEADER)]
        for s in range(sats):
            sat_rows.append(row(["A", "Sat %d" % s, "Sat_%d" % s, str(s * 10 % 3600), "9750", "10600"]
                                + ["0"] * 10))
        f.write('<Worksheet ss:Name="Satellites">\r\n' + table(sat_rows, 16) + '\r\n</Worksheet>\r\n')
        serial = 0
        for s in range(sats):
            rows = [row(PROG_HEADER)]
            for p in range(per_sat):
                serial += 1
                # Every tenth name carries a letter outside ASCII, as real channel lists do.
                name = ("Chaîne %05d" if serial % 10 == 0 else "Programme %05d") % (serial % 100000)
                rows.append(row([name, str(10700 + p % 2000), "27500", "H" if p % 2 else "V", str(p % 8000),
                                 str(p % 8000 + 1), str(p % 8000), "0", "0", "0", str(serial % 65536),
                                 str(p % 8000 + 2), "0", "0", "0", "-1", "0", "1", "2"]))
            f.write('<Worksheet ss:Name="Sat_%d">\r\n' % s + table(rows, 19) + '\r\n</Worksheet>\r\n')
        f.write('</Workbook>\r\n')


if __name__ == '__main__':
    main()
