#pragma once

namespace editor {

// Command identifiers shared by the menu, the toolbar and the accelerators.
namespace CommandId {
inline constexpr int OpenDb = 32771;
inline constexpr int OpenExcel = 32772;
inline constexpr int SaveAsDb = 32773;
inline constexpr int SaveAsExcel = 32774;
inline constexpr int OpenUserDb = 32775;
inline constexpr int MergeDefaultDb = 32776;
inline constexpr int Filter = 40002;
inline constexpr int Find = 40021;
inline constexpr int ShowAll = 40022;
inline constexpr int OpenUserDb25 = 40005;
inline constexpr int Copy = 57634;
inline constexpr int Cut = 57635;
inline constexpr int Paste = 57637;
inline constexpr int Undo = 57643;
inline constexpr int Redo = 57644;
inline constexpr int Delete = 57632;
inline constexpr int EditCell = 40009;
inline constexpr int MoveUp = 40010;
inline constexpr int MoveDown = 40011;
inline constexpr int MoveToTop = 40012;
inline constexpr int MoveToBottom = 40013;
inline constexpr int NewSatellite = 40014;
inline constexpr int NewTransponder = 40015;
inline constexpr int NewProgram = 40016;
inline constexpr int InsertNode = 40017;
inline constexpr int SortRows = 40018;
inline constexpr int SelectDuplicates = 40019;
inline constexpr int OrderLike = 40020;
inline constexpr int About = 57664;
inline constexpr int Exit = 57665;
inline constexpr int NextPane = 57680;
inline constexpr int PrevPane = 57681;
inline constexpr int ToggleToolBar = 59392;
inline constexpr int ToggleStatusBar = 59393;
} // namespace CommandId

} // namespace editor
