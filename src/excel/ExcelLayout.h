#pragma once

#include <array>
#include <string_view>

namespace core {

// The workbook's layout, shared by the export and the import: the satellites sheet with one row
// per satellite, and one program sheet per satellite with its transponders, then its programs.
// Rows count from 1 (row 1 is the header), columns from 0.
namespace ExcelLayout {
inline constexpr std::string_view kSatellitesSheet = "Satellites";
inline constexpr int kHeaderRow = 1;
inline constexpr int kFirstDataRow = 2;

namespace SatCol {
inline constexpr int Select = 0;
inline constexpr int Name = 1;
inline constexpr int ProgSheet = 2;
inline constexpr int Longitude = 3;
inline constexpr int LocalFre1 = 4;
inline constexpr int LocalFre2 = 5;
inline constexpr int Switch12V = 6;
inline constexpr int Tone22K = 7;
inline constexpr int DiSEqC = 8;
inline constexpr int DiSEqC12 = 9;
inline constexpr int Direction = 10;
inline constexpr int LnbType = 11;
inline constexpr int DisEqCMotor = 12;
inline constexpr int TunerSel = 13;
inline constexpr int VideoType = 14;
inline constexpr int AudioType = 15;
} // namespace SatCol

inline constexpr std::array<std::string_view, 16> kSatHeaders{"select",
                                                              "SateName",
                                                              "ProgSheet",
                                                              "Longitude",
                                                              "LocalFre1",
                                                              "LocalFre2",
                                                              "12V",
                                                              "22K",
                                                              "DiSEqC",
                                                              "DiSEqC12",
                                                              "Direction",
                                                              "LnbType",
                                                              "DisEqC Motor",
                                                              "TunerSel",
                                                              "VideoType",
                                                              "AudioType"};

namespace ProgCol {
inline constexpr int ProgName = 0;
inline constexpr int Fre = 1;
inline constexpr int SymbolRate = 2;
inline constexpr int Polar = 3;
inline constexpr int VPID = 4;
inline constexpr int APID = 5;
inline constexpr int PCRPID = 6;
inline constexpr int Scramble = 7;
inline constexpr int Hide = 8;
inline constexpr int Track = 9;
inline constexpr int ServiceId = 10;
inline constexpr int PmtPid = 11;
inline constexpr int AvType = 12;
inline constexpr int Lock = 13;
inline constexpr int Skip = 14;
inline constexpr int FavType = 15;
inline constexpr int TunerSel = 16;
inline constexpr int VideoType = 17;
inline constexpr int AudioType = 18;
} // namespace ProgCol

inline constexpr std::array<std::string_view, 19> kProgHeaders{"ProgName",
                                                               "Fre",
                                                               "SymbolRate",
                                                               "Polar",
                                                               "VPID",
                                                               "APID",
                                                               "PCRPID",
                                                               "Scramble",
                                                               "Hide",
                                                               "Track",
                                                               "ServiceId",
                                                               "PmtPid",
                                                               "AvType",
                                                               "Lock",
                                                               "Skip",
                                                               "FavType",
                                                               "TunerSel",
                                                               "VideoType",
                                                               "AudioType"};

// The "select" letters: what the import takes in for a satellite.
inline constexpr int kSelectAll = 0; // "A" or "Y": satellite, transponders and programs
inline constexpr int kSelectSatOnly = 1; // "S"
inline constexpr int kSelectSatAndTps = 2; // "T"
} // namespace ExcelLayout

} // namespace core
