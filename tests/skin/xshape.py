#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the rectangles of an X window's Shape region, one "x y width height" a
# line, as the X server holds them: what the window system will draw and deliver.
# Usage: xshape.py WINDOW-ID bounding|input
import sys

from Xlib import display
from Xlib.ext import shape

kinds = {"bounding": shape.SK.Bounding, "input": shape.SK.Input}
window = display.Display().create_resource_object("window", int(sys.argv[1], 0))
for r in window.shape_get_rectangles(kinds[sys.argv[2]]).rectangles:
    print(r.x, r.y, r.width, r.height)
