/* The layer's own sizes at 96 DPI, which it scales by the window's DPI. C and C++ alike, so that
   a plain-Win32 window built to match (the benchmark's floor) takes them from here too. */
#pragma once

#define LAYER_SPLITTER_BAR 6        /* the width of a splitter's bar */
#define LAYER_GRIPPER_INDENT 8      /* the toolbar's room for its gripper */
#define LAYER_GRIPPER_LEFT 2        /* the gripper's raised bar: its left and right edges, and */
#define LAYER_GRIPPER_RIGHT 5       /* its distance from the bar's top and bottom */
#define LAYER_GRIPPER_MARGIN 2
#define LAYER_BUTTON_PADDING_X 7    /* the room a toolbar button takes around its picture */
#define LAYER_BUTTON_PADDING_Y 6
#define LAYER_INDICATOR_MARGIN 12   /* added to a status bar indicator's text */
