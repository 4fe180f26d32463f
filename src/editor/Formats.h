#pragma once

// The file formats this build can reach. The spreadsheet and flash-image classes come from their
// own folders; a build without them leaves their commands out.
#if __has_include("excel/CAccessExcelIn.h") && __has_include("excel/CAccessExcelOut.h")
#define CORVANE_WITH_SPREADSHEETS 1
#else
#define CORVANE_WITH_SPREADSHEETS 0
#endif

#if __has_include("access/CAccessUserDbIn.h")                                                                          \
                  && __has_include("access/CAccessUserDb25In.h") && __has_include("access/CAccessDftDbOut.h")
#define CORVANE_WITH_FLASH_IMAGES 1
#else
#define CORVANE_WITH_FLASH_IMAGES 0
#endif
