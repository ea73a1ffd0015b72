// Resource and command ids of quillon.exe (shared by the .rc and the code).
#pragma once

#define IDS_WINDOW_TITLE 1
#define IDS_PAINT_TEXT 2
#define IDS_WINDOW_CLASS 3
#define IDR_ACCELERATORS 3
#define IDI_QUILLON 101
#define IDD_ABOUT 103
#define IDM_EXIT 40002
#define IDM_ABOUT 40003
