/*
 * Identifiers of Mirabo's resources, menu commands and dialog controls.
 *
 * Plain #define lines only, so that the same file serves C, C++ and the
 * resource script (res/mirabo.rc, which goes through the C preprocessor
 * before it is compiled).
 */
#ifndef MIRABO_RES_RESOURCE_H
#define MIRABO_RES_RESOURCE_H

/* Icon group: window class icon and the picture in the About box. */
#define IDI_MIRABO 101

/* Menu 102 and the menu-bar data (RCDATA 102) that describes its buttons. */
#define IDR_MAIN_MENU 102

/* The edit menu of the Linux layer's edit controls. Its commands are the
   messages the platform's own edit menu sends: WM_UNDO, WM_CUT, WM_COPY,
   WM_PASTE, WM_CLEAR and EM_SETSEL. */
#define IDR_EDIT_MENU       130
#define IDM_EDIT_UNDO       0x0304
#define IDM_EDIT_CUT        0x0300
#define IDM_EDIT_COPY       0x0301
#define IDM_EDIT_PASTE      0x0302
#define IDM_EDIT_DELETE     0x0303
#define IDM_EDIT_SELECT_ALL 0x00B1

/* Accelerator table: Ctrl+A (About box) and Ctrl+Q (close). */
#define IDR_ACCELERATORS 3

/* Dialog templates. */
#define IDD_ABOUT               103
#define IDD_COORDINATE_ROTATION 104
#define IDD_RIGHT_TRIANGLE      105
#define IDD_OBLIQUE_TRIANGLE    108
#define IDD_OHMS_LAW            121

/* Pictures shown in the calculator dialogs. */
#define IDB_COORDINATE_ROTATION 110
#define IDB_RIGHT_TRIANGLE      112
#define IDB_OBLIQUE_TRIANGLE    115

/* String table. */
#define IDS_APP_TITLE     1     /* main window title */
#define IDS_MAIN_TEXT     2     /* line painted in the main window */
#define IDS_WINDOW_CLASS  3     /* main window class name */
#define IDS_BAR_FUNCTIONS 40005 /* caption of menu-bar button 1 */
#define IDS_BAR_VERSION   40014 /* caption of menu-bar button 3 */
#define IDS_BAR_CALCULATE 40027 /* caption of menu-bar button 2 */

/* The calculators' messages, which the core names MSG_... (calc/messages.h). */
#define IDS_MISSING_INPUT        200 /* no usable input */
#define IDS_NEGATIVE_NOT_ALLOWED 201 /* no usable input, oblique triangle */
#define IDS_CALC_EXCEPTION       202 /* a result is not a number */
#define IDS_CONFIRM_NONFINITE    203 /* question: show values that are not finite? */

/* The Linux layer's message boxes: their buttons, and the caption of a box
   with neither a caption nor an owner. */
#define IDS_BUTTON_OK       210
#define IDS_BUTTON_YES      211
#define IDS_BUTTON_NO       212
#define IDS_DEFAULT_CAPTION 213

/* The button on the title strip that closes a dialog. */
#define IDS_BUTTON_DONE 214

/* The lines the Linux layer writes on stderr. Each "%1", "%2", ... is filled
   in by the code (a path, a number, or another of these texts). */
#define IDS_SCALE_NOT_USED          220 /* %1 why (IDS_SCALE_NOT_A_SCALE), %2 the scale used */
#define IDS_SCALE_NOT_A_SCALE       221 /* %1 MIRABO_SCALE's text, %2 to %3 the scales it may ask for */
#define IDS_SCALE_TOO_LARGE         222 /* %1 asked, %2x%3 the available area, %4 the scale used */
#define IDS_NO_PRIVATE_FOLDER       223 /* %1 why: one of the five below */
#define IDS_FOLDER_IS_LINK          224 /* %1 the folder's path */
#define IDS_FOLDER_IS_NOT_A_FOLDER  225 /* %1 the path */
#define IDS_FOLDER_CANNOT_BE_OPENED 226 /* %1 the path, %2 the system's reason */
#define IDS_FOLDER_OF_ANOTHER_USER  227 /* %1 the path */
#define IDS_FOLDER_OPEN_TO_OTHERS   228 /* %1 the path, %2 its mode in octal */
#define IDS_NO_FOLDER_TO_MAKE       229 /* neither a runtime folder nor a home folder */
#define IDS_RUNNING_COPY_NO_ANSWER  230 /* %1 how many seconds were waited */

/* What the icon and each picture show, in words, for screen readers: the
   string with the same number as the picture. */
#define IDS_ICON_DESCRIPTION                IDI_MIRABO
#define IDS_COORDINATE_ROTATION_DESCRIPTION IDB_COORDINATE_ROTATION
#define IDS_RIGHT_TRIANGLE_DESCRIPTION      IDB_RIGHT_TRIANGLE
#define IDS_OBLIQUE_TRIANGLE_DESCRIPTION    IDB_OBLIQUE_TRIANGLE

/* Commands. The three menu-bar buttons carry commands of their own that
   only open their pop-ups; command 1 (Ctrl+Q) closes the program. */
#define IDM_CLOSE               1
#define IDM_BAR_FUNCTIONS       40001
#define IDM_ABOUT               40003
#define IDM_COORDINATE_ROTATION 40006
#define IDM_EXIT                40007
#define IDM_RIGHT_TRIANGLE      40008
#define IDM_OBLIQUE_TRIANGLE    40011
#define IDM_BAR_VERSION         40012
#define IDM_BAR_CALCULATE       40025
#define IDM_OHMS_LAW            40028

/* Controls. Labels and pictures have no identifier of their own. */
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Back closes every calculator dialog with the cancel identifier. */
#define IDC_BACK 2

/* Coordinate rotation, template 104. */
#define IDC_COORD_X         1001
#define IDC_COORD_Y         1002
#define IDC_COORD_ANGLE     1003
#define IDC_COORD_CALCULATE 1004
#define IDC_COORD_CLEAR     1005
#define IDC_COORD_X_RESULT  1006
#define IDC_COORD_Y_RESULT  1007

/* Right triangle, template 105. */
#define IDC_RIGHT_A         1001
#define IDC_RIGHT_B         1002
#define IDC_RIGHT_C         1003
#define IDC_RIGHT_ALPHA     1004
#define IDC_RIGHT_BETA      1005
#define IDC_RIGHT_CALCULATE 1006
#define IDC_RIGHT_CLEAR     1007

/* Oblique triangle, template 108. */
#define IDC_OBLIQUE_A         1001
#define IDC_OBLIQUE_B         1002
#define IDC_OBLIQUE_C         1003
#define IDC_OBLIQUE_CALCULATE 1004
#define IDC_OBLIQUE_CLEAR     1005
#define IDC_OBLIQUE_ALPHA     1006
#define IDC_OBLIQUE_BETA      1007
#define IDC_OBLIQUE_GAMMA     1008

/* Ohm's law, template 121 (no control 1005). */
#define IDC_OHM_VOLTAGE    1001
#define IDC_OHM_CURRENT    1002
#define IDC_OHM_RESISTANCE 1003
#define IDC_OHM_POWER      1004
#define IDC_OHM_CALCULATE  1006
#define IDC_OHM_CLEAR      1007

#endif /* MIRABO_RES_RESOURCE_H */
