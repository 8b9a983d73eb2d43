/* Identifiers shared by the resource script and the code: each number is
   written once, here. Plain #defines so that windres can read this file. */
#ifndef OMBRIVALE_RESOURCE_IDS_H
#define OMBRIVALE_RESOURCE_IDS_H

/* Commands: menu items and hotkeys carry the same numbers. 10039 is unused. */
#define IDM_VOLUME_UP           10001
#define IDM_VOLUME_DOWN         10002
#define IDM_MUTE                10003
#define IDM_BRIGHTNESS_UP       10004
#define IDM_BRIGHTNESS_DOWN     10005
#define IDM_BRIGHTNESS_DEFAULT  10006
#define IDM_TOGGLE_TRAY_ICON    10007
#define IDM_EXIT                10008
#define IDM_TOOL_REGEDIT        10009
#define IDM_TOOL_APPWIZ         10010
#define IDM_TOOL_GPEDIT         10011
#define IDM_TOOL_CMD            10012
#define IDM_TOOL_TASKMGR        10013
#define IDM_TOOL_DEVMGMT        10014
#define IDM_TOOL_CALC           10015
#define IDM_CD_OPEN             10016
#define IDM_CD_CLOSE            10017
#define IDM_SHOW_DESKTOP        10018
#define IDM_SCREENSAVER         10019
#define IDM_REBUILD_ICON_CACHE  10020
#define IDM_MONITOR_OFF         10021
#define IDM_RES_1024X768        10022
#define IDM_RES_1280X800        10023
#define IDM_RES_1440X900        10024
#define IDM_RES_1680X1050       10025
#define IDM_RES_1366X768        10026
#define IDM_RES_800X600         10027
#define IDM_SHUTDOWN            10028
#define IDM_RESTART             10029
#define IDM_LOGOFF              10030
#define IDM_SLEEP               10031
#define IDM_HIBERNATE           10032
#define IDM_FORCE_SHUTDOWN      10033
#define IDM_FORCE_RESTART       10034
#define IDM_ABOUT               10035
#define IDM_AUTOSTART           10036
#define IDM_SCREENSHOT          10037
#define IDM_TOOL_MSINFO         10038
#define IDM_REMINDER            10040
#define IDM_LOCK                10041
#define IDM_HOTKEY_SETTINGS     10042

/* Dialog templates. */
#define IDD_CAPTURE             101
#define IDD_REMINDER            102
#define IDD_HOTKEYS             103

/* Reminder dialog controls. */
#define IDC_REMINDER_TEXT       51000
#define IDC_REMINDER_MINUTES    51001
#define IDC_ACTION_SHUTDOWN     51003
#define IDC_ACTION_RESTART      51004
#define IDC_ACTION_LOGOFF       51005

/* Hotkey settings dialog controls: the ten hotkey controls, then their
   labels, each in the hotkey submenu's order. */
#define IDC_HOTKEY_FIRST        52000
#define IDC_HOTKEY_LABEL_FIRST  52010
#define IDC_HOTKEY_DEFAULTS     52020

/* The tray icon's callback message. */
#define WM_TRAYICON             1024

#endif
