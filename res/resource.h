// Resource ids of the program, shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_OLE_INIT_FAILED 100
#define IDR_POPUP_EDIT 119
#define IDR_MAINFRAME 127
#define IDR_TRAY_MENU 202
#define IDS_EDIT_MENU 306
#define IDI_APP_ICON 390

#define ID_TRAY_SHOWMAIN 32776

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The class library's own command and string ids that the resources use.
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO 0xE12B
#define ID_APP_ABOUT_CMD 0xE140
#define ID_APP_EXIT_CMD 0xE141
#define AFX_IDS_APP_TITLE_STR 0xE000
