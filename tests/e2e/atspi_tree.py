#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Prints what screen readers see of a running program, one object a line:
window, role, name, states, screen extents (x y width height) and the first
line of its text, separated by tabs. Only objects on the screen are listed.

    atspi_tree.py PROGRAM
"""
import sys

import pyatspi

kStates = {
    "focusable": pyatspi.STATE_FOCUSABLE,
    "focused": pyatspi.STATE_FOCUSED,
    "enabled": pyatspi.STATE_ENABLED,
}


def Text(obj):
    try:
        text = obj.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, min(text.characterCount, 200)).replace("\r", "").split("\n")[0]


def Extents(obj):
    try:
        box = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:
        return "0 0 0 0"
    return "%d %d %d %d" % (box.x, box.y, box.width, box.height)


def Print(obj, window):
    states = obj.getState()
    if not states.contains(pyatspi.STATE_SHOWING):
        return
    flags = ",".join(name for name, state in kStates.items() if states.contains(state))
    print("\t".join([window, obj.getRoleName(), obj.name, flags, Extents(obj), Text(obj)]))
    for child in obj:
        if child is not None:
            Print(child, window)


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == sys.argv[1]:
            for window in app:
                if window is not None:
                    Print(window, window.name)


main()
