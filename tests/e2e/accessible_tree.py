#!/usr/bin/python3
# Reads the program's accessible tree through AT-SPI, as a screen reader does.
#   accessible_tree.py PID names       one "role<TAB>name" line per control that
#                                      can take the focus, then "link<TAB>name<TAB>actions"
#                                      for each link
#   accessible_tree.py PID press NAME  invokes the Press action of the link NAME
#   accessible_tree.py PID buttons NAME  the names of the push buttons in the
#                                      window or dialog NAME, one a line
# It waits up to 20 s for the program, or the dialog, to show in the tree.
import sys
import time

import pyatspi


def application(pid):
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:
                pass  # an application that went away meanwhile
        time.sleep(0.2)
    sys.exit(f"no application with pid {pid} in the accessible tree")


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def walk(node, inside_combo=False):
    """The focusable controls and the links; a combo box's list and edit field are its own parts."""
    role = node.getRoleName()
    if not inside_combo and node.getState().contains(pyatspi.STATE_FOCUSABLE):
        yield ("control", role, node)
    if role == "link":
        yield ("link", role, node)
    for child in node:
        yield from walk(child, inside_combo or role == "combo box")


def main():
    pid, command = int(sys.argv[1]), sys.argv[2]
    app = application(pid)
    if command == "names":
        for kind, role, node in walk(app):
            if kind == "control":
                print(f"{role}\t{node.name}")
            else:
                print(f"link\t{node.name}\t{','.join(actions(node))}")
    elif command == "press":
        for kind, _, node in walk(app):
            if kind == "link" and node.name == sys.argv[3]:
                action = node.queryAction()
                names = [action.getName(i) for i in range(action.nActions)]
                action.doAction(names.index("Press"))
                return
        sys.exit(f"no link named {sys.argv[3]}")
    elif command == "buttons":
        # A dialog just shown on screen may reach the tree a little later.
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            for window in app:
                if window.name == sys.argv[3]:
                    for kind, role, node in walk(window):
                        if kind == "control" and role == "push button":
                            print(node.name)
                    return
            time.sleep(0.2)
        sys.exit(f"no window named {sys.argv[3]}")


main()
