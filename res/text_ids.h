/* The numbers of Trevo's texts in the string tables of texts.rc. Read by the
   resource compiler, by the program and by the simulated Windows, so keep to
   plain "#define NAME number" lines. A text with %1, %2 ... takes values (a
   path, a number, a name) in those places, in the order the program gives them. */
#pragma once

/* The value of [Options] Language that chooses the block: "en", "ja". */
#define IDS_LANGUAGE_CODE 1000

/* The Properties dialog. */
#define IDS_PROPERTIES_TITLE 1001
#define IDS_DESKTOPS_LABEL 1002
#define IDS_WALLPAPER_LABEL 1003
#define IDS_ALWAYS_THIS_SIZE 1004
#define IDS_ONLY_WHEN_CENTRED 1005
#define IDS_OK 1006
#define IDS_CANCEL 1007
#define IDS_CHANGES_AT_NEXT_START 1008
#define IDS_NOT_SAVED 1009
#define IDS_PICTURE_NAME_UNSPELLABLE 1010

/* The icons' menu, the panel and the notification. */
#define IDS_MENU_PROPERTIES 1011
#define IDS_MENU_START_WITH_WINDOWS 1012
#define IDS_MENU_EXIT 1013
#define IDS_PANEL_DESKTOP 1014
#define IDS_PANEL_NAMED_DESKTOP 1015
#define IDS_ICONS_HINT_TITLE 1016
#define IDS_ICONS_HINT_TEXT 1017

/* Starting, and the settings file. */
#define IDS_GATHER_WHILE_RUNNING 1018
#define IDS_FOLDER_NAME_UNSPELLABLE 1019
#define IDS_SETTINGS_FILE_MISSING 1020
#define IDS_SETTING_NOT_VALID 1021
#define IDS_VALUE_NONE 1022
#define IDS_VALUE_QUOTED 1023
#define IDS_RULE_DESK_COUNT 1024
#define IDS_RULE_PIXELS 1025
#define IDS_RULE_SWITCH 1026
#define IDS_RULE_KEY 1027
#define IDS_RULE_SAME_COMBINATION 1028
#define IDS_RULE_NAME 1029
#define IDS_RULE_LANGUAGE 1030
#define IDS_KEY_PLUS_ALONE 1031
#define IDS_KEY_NOT_LAST 1032
#define IDS_KEY_MODIFIER_TWICE 1033
#define IDS_KEY_UNKNOWN 1034
#define IDS_KEY_MODIFIERS_ONLY 1035
#define IDS_KEY_NEEDS_MODIFIER 1036
#define IDS_KEYS_TAKEN 1037

/* Start with Windows. */
#define IDS_WINDOWS_ERROR 1038
#define IDS_RUN_ENTRY_NOT_FOLLOWED 1039
#define IDS_RUN_ENTRY_OTHER_PROGRAM 1040
#define IDS_NOT_A_COMMAND 1041
#define IDS_EXE_NAME_UNSPELLABLE 1042
#define IDS_REFUSED_ADD 1043
#define IDS_REFUSED_SWITCH_ON 1044
#define IDS_REFUSED_REMOVE 1045
#define IDS_REFUSAL_UNDONE 1046
#define IDS_REFUSAL_NOT_UNDONE 1047
#define IDS_OPTION_NOT_SAVED 1048

/* The first and the last number, for whoever walks every text. */
#define IDS_FIRST IDS_LANGUAGE_CODE
#define IDS_LAST IDS_OPTION_NOT_SAVED
