/* Numbers of the settings dialogs, their pages and their controls. The settings file and
   the resource scripts name dialogs by these numbers, so they never change. Plain
   preprocessor lines only: the Windows resource compiler reads this file too.
   Numbers are per dialog: the same control number means different things in different
   dialogs. */
#ifndef LUMIVANE_DIALOG_IDS_H
#define LUMIVANE_DIALOG_IDS_H

#define IDC_OK 1
#define IDC_CANCEL 2

/* Main dialog. */
#define IDD_MAIN 2003
#define IDC_MAIN_MESSAGE 1002
#define IDC_MAIN_BOTTOMLINE 1003
#define IDC_MAIN_FONT 1006
#define IDC_MAIN_AIRPLANES 1008
#define IDC_MAIN_PICTURE 1009
#define IDC_MAIN_MOON 1010
#define IDC_MAIN_EMAIL 1011
#define IDC_MAIN_JOKES 1012
#define IDC_MAIN_HELP 1013
#define IDC_MAIN_OPTIONS 1014
#define IDC_MAIN_SOUTHERN 1016
#define IDC_MAIN_PICTURE_AREA 1017

/* "Much More Options" sheet: the icon and the pages in their order. */
#define IDI_LUMIVANE 100
#define IDD_STAR_MESSAGES 2019
#define IDD_SOUNDS 2006
#define IDD_QUOTES 121
#define IDD_STARTUP 2018
#define IDD_ABOUT 2014

/* "Star Messages" page. */
#define IDC_STAR_MESSAGE 1002
#define IDC_STAR_PASSWORD 1004
#define IDC_STAR_HEART 1010
#define IDC_STAR_HAPPY 1011
#define IDC_STAR_PEACE 1013
#define IDC_STAR_SEND 1014
#define IDC_STAR_PREFER_PEACE 1015
#define IDC_STAR_STAR 1016
#define IDC_STAR_PREFER_HAPPY 1017
#define IDC_STAR_PREVIEW 1018
#define IDC_STAR_TIME 1019
#define IDC_STAR_HELP 1020
#define IDC_STAR_COUNTDOWN 1021
#define IDC_STAR_BOTTOMLINE 1022
#define IDC_STAR_DAY_COUNTER 1023
#define IDC_STAR_FORMAT24 1024
#define IDC_STAR_WORLD_TIME 1025
#define IDC_STAR_NEXT 1033
#define IDC_STAR_NEW 1034
#define IDC_STAR_DELETE 1035
#define IDC_STAR_POSITION 1036
#define IDC_STAR_RANDOM 1050
#define IDC_STAR_PREVIOUS 1054

/* "Sounds" page: radio buttons 1000..1008 in the order of the choices. */
#define IDC_SOUND_FIRST 1000
#define IDC_SOUND_SILENCE 1000
#define IDC_SOUND_LULLABY 1001
#define IDC_SOUND_SEA 1002
#define IDC_SOUND_WAV 1003
#define IDC_SOUND_MIDI 1004
#define IDC_SOUND_BIRDS 1005
#define IDC_SOUND_SAD 1006
#define IDC_SOUND_REMINDER 1007
#define IDC_SOUND_MELODY 1008
#define IDC_SOUND_LAST 1008
#define IDC_SOUND_WAV_PATH 1028
#define IDC_SOUND_MIDI_PATH 1029
#define IDC_SOUND_WAV_BROWSE 1030
#define IDC_SOUND_MIDI_BROWSE 1031
#define IDC_SOUND_CONTINUOUS 1112
#define IDC_SOUND_CUCKOO 1113

/* "Quotes" page. */
#define IDC_QUOTE_FILE 1019
#define IDC_QUOTE_BROWSE 1020
#define IDC_QUOTE_BANNER 1021
#define IDC_QUOTE_AUTOTEXT 1023
#define IDC_QUOTE_CATEGORY 1028
#define IDC_QUOTE_PICTURE 1029
#define IDC_QUOTE_NEXT 1033
#define IDC_QUOTE_PREVIOUS 1054
#define IDC_QUOTE_SHOW_EVERY 1058
#define IDC_QUOTE_FILE_SIZE_NOTE 1059
#define IDC_QUOTE_FILE_NOTE 1060

/* "Startup" page: hot corners, start-up effects and the wallpaper changer. */
#define IDC_STARTUP_TOP_LEFT 1040
#define IDC_STARTUP_TOP_RIGHT 1041
#define IDC_STARTUP_BOTTOM_LEFT 1042
#define IDC_STARTUP_BOTTOM_RIGHT 1043
#define IDC_STARTUP_SWITCH_OFF_TV 1044
#define IDC_STARTUP_REACH_STARS 1045
#define IDC_STARTUP_WALLPAPER 1046
#define IDC_STARTUP_WALLPAPER_PATH 1047
#define IDC_STARTUP_WALLPAPER_BROWSE 1048

/* "About" page. */
#define IDC_ABOUT_CONTACT 1016
#define IDC_ABOUT_NEWER 1017
#define IDC_ABOUT_VERSION 1030
#define IDC_ABOUT_BUILD 1031
#define IDC_ABOUT_PICTURE_1 1040
#define IDC_ABOUT_PICTURE_2 1041
#define IDC_ABOUT_PICTURE_3 1042
#define IDC_ABOUT_PICTURE_4 1043

/* "Countdown Timer" and "Please enter your Birthday": the same date fields. */
#define IDD_COUNTDOWN 2012
#define IDD_BIRTHDAY 2015
#define IDC_DATE_YEAR 1040
#define IDC_DATE_MONTH 1041
#define IDC_DATE_DAY 1042
#define IDC_DATE_HOUR 1043
#define IDC_DATE_MINUTE 1044

/* "World time view". */
#define IDD_WORLD_TIME 2020
#define IDC_WORLD_LOCAL 1040
#define IDC_WORLD_LOCAL_DST 1041
#define IDC_WORLD_WATCHED 1042
#define IDC_WORLD_WATCHED_DST 1043
#define IDC_WORLD_BOTTOMLINE 1044

/* "E-mail parameters" (the first numbers are those of mail/EmailDialog.h). */
#define IDD_EMAIL 2016
#define IDC_EMAIL_LOGON 1032
#define IDC_EMAIL_PASSWORD 1004
#define IDC_EMAIL_SERVER 1005
#define IDC_EMAIL_CHECK_EVERY 1033
#define IDC_EMAIL_LAN 1034
#define IDC_EMAIL_MODEM 1035
#define IDC_EMAIL_SECURITY 1036
#define IDC_EMAIL_PORT 1037
#define IDC_EMAIL_TEST 1038
#define IDC_EMAIL_TEST_RESULT 1039

#endif
