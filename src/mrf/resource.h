// Resource and command identifiers of mrf.exe. The command identifiers are also what tests post
// as WM_COMMAND to drive the program.
#pragma once

#define IDI_MRF 1
#define IDB_TOOLBAR 2
#define IDR_MAINMENU 100
#define IDR_TRAYMENU 101
#define IDR_ACCEL 102

// Commands of the main menu, the tool bar and the tray menu.
#define ID_CMD_SAVE 40001
#define ID_CMD_MINIMIZE 40002
#define ID_CMD_EXIT 40003
#define ID_CMD_PASSWORD 40010
#define ID_CMD_ADDFOLDER 40011
#define ID_CMD_REMOVEF 40012
#define ID_CMD_EDITFOLDER 40013
#define ID_CMD_SKIN 40020
#define ID_CMD_GO 40030
#define ID_CMD_PAUSE 40031
#define ID_CMD_STOP 40032
#define ID_CMD_PROOPT 40040
#define ID_CMD_HELPFILE 40050
#define ID_CMD_WEBPAGE 40051
#define ID_CMD_MAIL 40052
#define ID_CMD_ABOUT 40053
#define ID_TRAY_SETTINGS 40100
#define ID_TRAY_START 40101
#define ID_TRAY_PAUSE 40102
#define ID_TRAY_STOP 40103
#define ID_TRAY_EXIT 40104

// Tool-bar buttons that are not plain commands.
#define ID_BTN_SAVE 40201
#define ID_BTN_ADD 40202
#define ID_BTN_DELETE 40203
#define ID_BTN_PASSWORD 40204
#define ID_TOOLBUTTON9 40205
#define ID_TOOLBUTTON11 40206

// Main window children.
#define IDC_TOOLBAR 1001
#define IDC_PAGES 1002
#define IDC_STATUS 1003
#define IDC_SELUSER 1004
#define IDC_SELUSER_LABEL 1005

// Pages.
#define IDD_PAGE_FOLDERS 200
#define IDD_PAGE_GROUPS 201
#define IDD_PAGE_OPTIONS 202
#define IDC_DIRLIST 2001
#define IDC_MINI 2201
#define IDC_NEWUSERS 2202
#define IDC_HOTKEY 2203
#define IDC_DEFINE_PASSWORD 2204
#define IDC_HOTKEY_LABEL 2205

// Password prompt.
#define IDD_PASSWORD 300
#define IDC_PW_LABEL 3001
#define IDC_EDIT1 3002

// Password definition.
#define IDD_DEFINE_PASSWORD 310
#define IDC_DEFINE_TEXT 3100
#define IDC_ENTER_PASSWORD 3101
#define IDC_CONFIRM_LABEL 3102
#define IDC_CONFIRM_PASSWORD 3103

// Folder entry dialogs and the folder list's pop-up menu.
#define IDD_FOLDER_EDIT 400
#define IDD_ADVANCED 401
#define IDR_FOLDERMENU 402
#define IDC_FOLDER_PATH_LABEL 410
#define IDC_DIRECTORYEDIT1 411
#define IDC_BROWSE 412
#define IDC_PROTECTMODE 413
#define IDC_PROTECTMODE_0 414
#define IDC_PROTECTMODE_1 415
#define IDC_RADIOGROUP1 420
// One per file-mask choice, consecutive.
#define IDC_RADIOGROUP1_0 421
#define IDC_RADIOGROUP1_1 422
#define IDC_RADIOGROUP1_2 423
#define IDC_RADIOGROUP1_3 424
#define IDC_RADIOGROUP1_4 425
#define IDC_RADIOGROUP1_5 426
#define IDC_LABEL2 430
#define IDC_MASKEDIT 431
#define IDC_BTNADVANCED 432
#define IDC_OKBTN 433 // not IDOK: Enter has no binding in the folder dialog
#define IDC_DIRLABEL 450
#define IDC_EXCLFILES_LABEL 451
#define IDC_EXCLFILESEDIT 452
#define IDC_INCLPROC_LABEL 453
#define IDC_INCLPROCEDIT 454
#define IDC_EXCLPROC_LABEL 455
#define IDC_EXCLPROCEDIT 456
#define IDC_BTNHELP 457

// The user-groups page and its dialogs.
#define IDC_USERS_LABEL 2101
#define IDC_USERLIST 2102
#define IDC_USERLABEL 2103
#define IDC_USERGROUPSBOX 2104
#define IDC_ADDGROUP 2105
#define IDC_DELGROUP 2106
#define IDD_USERGROUPS 500
#define IDC_GROUPSLIST_LABEL 501
#define IDC_GROUPSLISTBOX 502
#define IDD_TEXTEDIT 510
#define IDC_TEXTLABEL 511
#define IDC_TEXTEDIT 512
#define IDC_TEXTLABELEXT 513
#define IDC_TEXTEDITEXT 514
// Skin dialog and about box.
#define IDD_SELSKIN 600
#define IDC_SCOMBOBOX1 601
#define IDC_SKIN_LABEL 602
#define IDD_ABOUT 610
#define IDC_ABOUT_ICON 611
#define IDC_LBLTITILE 612
#define IDC_VERSION 613
#define IDC_LBLWEBSITE 614
