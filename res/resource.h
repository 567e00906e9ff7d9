// Resource identifiers of Virav Velmora Video Converter.
// Every number the program addresses a resource or control by lives here.
#pragma once

// Dialog templates
#define IDD_VERSION_DIALOG 100    // plain About box of the window menu (CVersionDlg)
#define IDD_CONVERTER_DIALOG 102  // the main window (CConverterDlg)
#define IDD_ABOUTBOX 141          // About box of the Help menu (CAboutDlg)
#define IDD_TITLE_DIALOG 144      // CTitleDlg
#define IDD_STARTTIME_DIALOG 145  // CStartTimeDlg
#define IDD_ENDTIME_DIALOG 146    // CEndTimeDlg
#define IDD_PRESETNAME_DIALOG 150 // CPresetNameDlg, of the Options dialog's presets

// Strings
#define IDS_ABOUTBOX 101 // "&About DirarAror..."

// Icon
#define IDR_MAINFRAME 128

// Bitmaps
#define IDB_BACKGROUND 131 // 750 x 560, key colour RGB(54,255,0) is cut away
#define IDB_PANEL 154      // 452 x 254 getting-started picture
#define IDB_BACK10_NORMAL 200
#define IDB_BACK10_HOVER 201
#define IDB_BACK10_PRESSED 202
#define IDB_FWD10_NORMAL 203
#define IDB_FWD10_HOVER 204
#define IDB_FWD10_PRESSED 205
#define IDB_NEXT_NORMAL 206
#define IDB_NEXT_HOVER 207
#define IDB_NEXT_PRESSED 208
#define IDB_PLAY_NORMAL 209
#define IDB_PLAY_HOVER 210
#define IDB_PLAY_PRESSED 211
#define IDB_STOP_NORMAL 212
#define IDB_STOP_HOVER 213
#define IDB_STOP_PRESSED 214
#define IDB_PREV_NORMAL 215
#define IDB_PREV_HOVER 216
#define IDB_PREV_PRESSED 217
#define IDB_MINIMIZE_NORMAL 218
#define IDB_MINIMIZE_HOVER 219
#define IDB_MINIMIZE_PRESSED 220
#define IDB_CLOSE_NORMAL 221
#define IDB_CLOSE_HOVER 222
#define IDB_CLOSE_PRESSED 223
#define IDB_HELP_NORMAL 224
#define IDB_HELP_HOVER 225
#define IDB_HELP_PRESSED 226
#define IDB_FILEMENU_NORMAL 228
#define IDB_FILEMENU_PRESSED 229
#define IDB_FILEMENU_HOVER 230
#define IDB_EDITMENU_NORMAL 231
#define IDB_EDITMENU_PRESSED 232
#define IDB_EDITMENU_HOVER 233
#define IDB_HELPMENU_NORMAL 234
#define IDB_HELPMENU_PRESSED 235
#define IDB_HELPMENU_HOVER 236
#define IDB_ADDFILES_NORMAL 237
#define IDB_ADDFILES_HOVER 238
#define IDB_ADDFILES_PRESSED 239
#define IDB_CONVERT_NORMAL 240
#define IDB_CONVERT_HOVER 241
#define IDB_CONVERT_PRESSED 242
#define IDB_SELECTFOLDER_NORMAL 243
#define IDB_SELECTFOLDER_HOVER 244
#define IDB_SELECTFOLDER_PRESSED 245
#define IDB_EXPLORE_NORMAL 246
#define IDB_EXPLORE_HOVER 247
#define IDB_EXPLORE_PRESSED 248
#define IDB_HOMEPAGE_NORMAL 249
#define IDB_HOMEPAGE_HOVER 250
#define IDB_HOMEPAGE_PRESSED 251
#define IDB_LISTMENU_NORMAL 252
#define IDB_LISTMENU_HOVER 253
#define IDB_LISTMENU_PRESSED 254
#define IDB_PAUSE_NORMAL 255
#define IDB_PAUSE_HOVER 256
#define IDB_PAUSE_PRESSED 257
#define IDB_STOPCONVERT_NORMAL 258
#define IDB_STOPCONVERT_HOVER 259
#define IDB_STOPCONVERT_PRESSED 260

// Menus
#define IDR_LISTMENU 143
#define IDR_FILEMENU 147
#define IDR_EDITMENU 148
#define IDR_HELPMENU 149

// Menu commands
#define ID_LIST_RENAME 32771
#define ID_LIST_EDITSTART 32772
#define ID_LIST_EDITEND 32773
#define ID_LIST_CHECKALL 32774
#define ID_LIST_UNCHECKALL 32775
#define ID_LIST_REMOVE 32776
#define ID_LIST_CLEAR 32777
#define ID_FILE_OPENVIDEO 32778
#define ID_FILE_PLAY 32779
#define ID_FILE_CONVERT 32780
#define ID_FILE_CLEAR 32781
#define ID_FILE_STOP 32782
#define ID_FILE_EXIT 32783
#define ID_FILE_SELECTFOLDER 32784
#define ID_EDIT_CHECKALL 32796
#define ID_EDIT_UNCHECKALL 32797
#define ID_EDIT_CHECKSELECTED 32798
#define ID_EDIT_UNCHECKSELECTED 32799
#define ID_HELP_HELP 32800
#define ID_HELP_HOMEPAGE 32801
#define ID_HELP_ABOUT 32804
#define ID_LIST_SAVELIST 32810
#define ID_LIST_OPENLIST 32811
#define ID_LIST_PAUSE 32812
#define ID_LIST_STOPAFTER 32813
#define ID_EDIT_OPTIONS 32820 // "Options...", at the Edit menu's end

// The framework's help command, raised by F1
#define ID_HELP 57670

// System (window) menu command, compared after masking with 0xFFF0
#define IDM_ABOUTBOX 0x0010

// Dialog keys
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

// Text-entry dialogs 144, 145, 146
#define IDC_EDIT_TEXT 1003

// Controls of the main window, dialog 102
#define IDC_ADDFILES 1005
#define IDC_ENGINE 1010
#define IDC_PLAY 1029
#define IDC_STOPPREVIEW 1034
#define IDC_PICTURE 1080
#define IDC_SIZE_LABEL 1102
#define IDC_MINIMIZE 1135
#define IDC_CLOSE 1136
#define IDC_STRETCH_LABEL 1139
#define IDC_JOBLIST 1142
#define IDC_CONVERT 1143
#define IDC_SELECTFOLDER 1144
#define IDC_PROGRESS 1145
#define IDC_NEXTCLIP 1146
#define IDC_PREVCLIP 1147
#define IDC_BACK10 1148
#define IDC_FORWARD10 1149
#define IDC_FRAMESIZE 1150
#define IDC_STRETCHMODE 1151
#define IDC_AUDIOBITRATE 1152
#define IDC_OUTPUTPROFILE 1153
#define IDC_HELP 1154
#define IDC_FILEMENU 1156
#define IDC_EDITMENU 1157
#define IDC_HELPMENU 1158
#define IDC_EXPLORE 1159
#define IDC_OUTPUTFOLDER 1160
#define IDC_BITRATE_LABEL 1161
#define IDC_VIDEO_LABEL 1162
#define IDC_PROFILE_LABEL 1163
#define IDC_AUDIO_LABEL 1164
#define IDC_FOLDER_LABEL 1165
#define IDC_LISTMENU 1166
#define IDC_HOMEPAGE 1167
#define IDC_STOPCONVERT 1168

// Controls of the About box, dialog 141
#define IDC_HOMEPAGE_LINK 1086
#define IDC_MAIL_LINK 1087
#define IDC_SUPPORT_LINE 1172
#define IDC_ASSIST_LINE 1173

// Colours (COLORREF, 0x00BBGGRR)
#define CLR_REGION_KEY 0x0000FF36         // RGB(54,255,0): cut out of the window
#define CLR_SECTION_LABEL 0x00333333      // RGB(51,51,51): "Video:" and "Audio:"
#define CLR_PROGRESS_BAR 0x00FF3200       // RGB(0,50,255): bar colour while converting
#define CLR_PREVIEW_BACKGROUND 0x00202020 // RGB(32,32,32): idle preview area of the engine control
#define CLR_PREVIEW_HINT 0x003A3A3A       // RGB(58,58,58): play mark in the middle of the idle preview area
#define CLR_FOCUS_RING                                                                                       \
    0x00FFC48C // RGB(140,196,255): keyboard focus on an image button, the skin's light accent

// The skin's chrome and work surfaces, which the artwork and the Options dialog share
#define CLR_CHROME_TOP 0x0055473C    // RGB(60,71,85)
#define CLR_CHROME_BOTTOM 0x00382E27 // RGB(39,46,56)
#define CLR_CARD_TOP 0x00FBF8F6      // RGB(246,248,251)
#define CLR_CARD_BOTTOM 0x00EEE8E3   // RGB(227,232,238)
#define CLR_CARD_EDGE 0x00B5A89C     // RGB(156,168,181)

// Main window size, from bitmap 131
#define MAIN_WINDOW_WIDTH 750
#define MAIN_WINDOW_HEIGHT 560
