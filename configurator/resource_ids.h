// Resource ids of the configurator's window: dialogs, controls, menu entries,
// pictures. Read by the resource compiler and by the portable page logic, so
// plain defines only. A control's tool tip is the string resource with the
// control's own id. Ids are unique across all pages: the control primitives
// find a control by its id alone.
#pragma once

// Dialog templates: the main window and its four pages, in tab order.
#define IDD_MAIN 100
#define IDD_PAGE_CONFIGURATIONS 101
#define IDD_PAGE_ACTIONS 102
#define IDD_PAGE_OTHER_SETTINGS 103
#define IDD_PAGE_ABOUT 104
// The small window that shows a long reading's progress.
#define IDD_PROGRESS 105

#define IDR_MAIN_MENU 110

// Pictures: the program's icon, then the decorative ones.
#define IDI_QUILLON_CONFIG 120
#define IDI_PICTURE_CONFIGURATIONS 121
#define IDI_PICTURE_MAPPER 122
#define IDI_PICTURE_KEYBOARD 123
#define IDI_PICTURE_JOYSTICK 124
// The action page's picture buttons.
#define IDI_PICTURE_NEW_ACTION 125
#define IDI_PICTURE_DELETE_ACTION 126
// The configuration lists' picture buttons.
#define IDI_PICTURE_UP 130
#define IDI_PICTURE_DOWN 131

// Main window, outside the pages.
#define IDC_SSTab1 1000
#define IDC_cmdApply 1001

// Page "Configurations": the configuration lists and their buttons, then
// the change timeout and the start/apply box.
#define IDC_labAvailableConfigs 1100
#define IDC_lstAvailableConfigs 1101
#define IDC_cmdInsert 1102
#define IDC_cmdRemove 1103
#define IDC_labActiveConfigs 1104
#define IDC_lstActiveConfigs 1105
#define IDC_cmdUp 1106
#define IDC_cmdDown 1107
#define IDC_cmdRefresh 1108
#define IDC_cmdDelete 1109
#define IDC_imgConfigurations 1150
#define IDC_labSwitchTimeout 1151
#define IDC_txtSwitchTimeout 1152
#define IDC_chkLoadConfigOnApply 1153
// The selected active configuration's games list and window pattern, the
// MAME list import, and the switch that lets the game choose the map.
#define IDC_labConfigGames 1160
#define IDC_txtConfigGames 1161
#define IDC_labConfigWindow 1162
#define IDC_txtConfigWindow 1163
#define IDC_cmdImportMameList 1164
#define IDC_chkFollowGame 1165

// The progress window.
#define IDC_labProgress 1180
#define IDC_barProgress 1181
#define IDC_cmdCancelProgress 1182

// Page "Actions": 1200..1299.
#define IDC_imgKey 1200
#define IDC_imgJoystickActions 1201
#define IDC_optKeyboard 1202
#define IDC_optJoystick 1203
#define IDC_lstKeys 1204
#define IDC_lstJoyButtons 1205
#define IDC_cmdNewKey 1206
#define IDC_cmdDeleteKey 1207
#define IDC_frmKey 1210
#define IDC_labModifiers 1211
#define IDC_chkAlt 1212
#define IDC_chkCtrl 1213
#define IDC_chkShift 1214
#define IDC_chkWindows 1215
#define IDC_labVirtualKey 1216
#define IDC_cmbVirtualKey 1217
#define IDC_labButtonCombo 1218
#define IDC_labAction 1230
#define IDC_cmbAction 1231
#define IDC_chkSelectWindow 1232
#define IDC_labWindowName 1233
#define IDC_txtWindowName 1234
#define IDC_frmKeySeq 1240
#define IDC_labKeySequence 1241
#define IDC_txtKeySequence 1242
#define IDC_labSpecialKey 1243
#define IDC_cmbSpecialKey 1244
#define IDC_cmdAddSpecialKey 1245
#define IDC_labKeySeqHelp0 1246
#define IDC_labKeySeqHelp1 1247
#define IDC_labKeySeqHelp2 1248
#define IDC_frmAppName 1250
#define IDC_labExecutable 1251
#define IDC_txtExecutable 1252
#define IDC_cmdBrowse 1253
#define IDC_labParameters 1254
#define IDC_txtParameters 1255
#define IDC_cmdBrowsePar 1256
// Live controller, press-to-set and the key sequence's hint line.
#define IDC_cmdPressKey 1260
#define IDC_cmdPressButtons 1261
#define IDC_labControllerNote 1262
#define IDC_labKeySeqHint 1263
// The repeat entries' interval.
#define IDC_labRepeat 1264
#define IDC_txtRepeat 1265

// The controller entry's boxes, on the "Actions" page: chkButton(k), k =
// 0..31, for buttons 1..32, then chkDirection(d), d = 0..7, for the
// Direction bits from bit 0; consecutive ids, so the logic counts them.
#define IDC_chkButton0 1500
#define IDC_chkButton1 1501
#define IDC_chkButton2 1502
#define IDC_chkButton3 1503
#define IDC_chkButton4 1504
#define IDC_chkButton5 1505
#define IDC_chkButton6 1506
#define IDC_chkButton7 1507
#define IDC_chkButton8 1508
#define IDC_chkButton9 1509
#define IDC_chkButton10 1510
#define IDC_chkButton11 1511
#define IDC_chkButton12 1512
#define IDC_chkButton13 1513
#define IDC_chkButton14 1514
#define IDC_chkButton15 1515
#define IDC_chkButton16 1516
#define IDC_chkButton17 1517
#define IDC_chkButton18 1518
#define IDC_chkButton19 1519
#define IDC_chkButton20 1520
#define IDC_chkButton21 1521
#define IDC_chkButton22 1522
#define IDC_chkButton23 1523
#define IDC_chkButton24 1524
#define IDC_chkButton25 1525
#define IDC_chkButton26 1526
#define IDC_chkButton27 1527
#define IDC_chkButton28 1528
#define IDC_chkButton29 1529
#define IDC_chkButton30 1530
#define IDC_chkButton31 1531
#define IDC_chkDirection0 1532
#define IDC_chkDirection1 1533
#define IDC_chkDirection2 1534
#define IDC_chkDirection3 1535
#define IDC_chkDirection4 1536
#define IDC_chkDirection5 1537
#define IDC_chkDirection6 1538
#define IDC_chkDirection7 1539

// Page "Other settings".
#define IDC_frmMiscSettings 1300
#define IDC_imgMiscSettings 1301
#define IDC_labUltraMap 1302
#define IDC_txtUltraMap 1303
#define IDC_cmdBrowseUltramap 1304
#define IDC_labUltraParameters 1305
#define IDC_txtUltraParameters 1306
#define IDC_labParametersHint 1307
#define IDC_frmKeyboardSettings 1310
#define IDC_imgKeyboardSettings 1311
#define IDC_chkUseKeyboard 1312
#define IDC_optModeHotkey 1313
#define IDC_optModeHook 1314
#define IDC_frmJoystick 1320
#define IDC_imgJoystick 1321
#define IDC_chkUseJoystick 1322
#define IDC_labDeviceName 1323
#define IDC_cmbDeviceName 1324
#define IDC_cmdRefreshDevices 1325
#define IDC_labPollsPerSecond 1326
#define IDC_txtPollsPerSecond 1327
#define IDC_frmNotices 1330
#define IDC_chkShowTrayIcon 1331
#define IDC_chkShowMapName 1332
#define IDC_chkEveryDevice 1333

// Page "About".
#define IDC_imgAboutProgram 1400
#define IDC_imgAboutJoystick 1401
#define IDC_labProgramName 1402
#define IDC_labVersion 1403
#define IDC_labRights 1404
#define IDC_labTrademarks 1405

// Menu entries.
#define IDM_mnuReload 40001
#define IDM_mnuLoad 40002
#define IDM_mnuSave 40003
#define IDM_mnuUnloadQuillon 40004
#define IDM_Exit 40005
#define IDM_mnuAddDesktop 40010
#define IDM_mnuAddPrograms 40011
#define IDM_mnuAddStartup 40012
#define IDM_mnuHelp 40020

// Text limit of the two mapping-program fields.
#define QUILLON_PATH_FIELD_LIMIT 250
