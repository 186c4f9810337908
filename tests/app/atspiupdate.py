#!/usr/bin/python3
"""The demo update done through the desktop's accessibility interface alone, as a screen reader drives a
program: each control is found by its role and name and used through its actions, its table or its text.
On the way, every control used and every object the focus goes to must have a name, and every change of
page must move the focus into the new page (during the job it stays on "Cancel").

Run by tst_accessibleupdate as: atspiupdate.py PROCESS_ID (the program's process). Prints what it does and
exits with 0 once the success page is reached, or with 1 and the reason."""

import sys
import time

import pyatspi
from gi.repository import GLib

STEP_TIMEOUT = 120  # seconds for one step, the job's included, on a loaded machine
TITLE = "Korwind Navigator update center"


class Failure(Exception):
    pass


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def described(accessible):
    return "%s %r" % (accessible.getRoleName(), accessible.name)


class Driver:
    def __init__(self, process_id):
        self.process_id = process_id
        self._bar = None
        self._pages = None
        self.focus = []  # (object, role, name) in the order the focus went
        self.announced = []  # the names that name-change events announced
        pyatspi.Registry.registerEventListener(self._focused, "object:state-changed:focused")
        pyatspi.Registry.registerEventListener(self._renamed, "object:property-change:accessible-name")
        self.application = self.wait(self._application, "the program on the accessibility bus")
        self.window = self.wait(lambda: self.child(self.application, "frame", TITLE), "the window")

    # Events arrive through the main loop of the accessibility library.
    def pump(self):
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass

    def _focused(self, event):
        if event.detail1:
            source = event.source
            self.focus.append((source, source.getRoleName(), source.name))

    def _renamed(self, event):
        self.announced.append(event.source.name)

    def wait(self, condition, what):
        deadline = time.monotonic() + STEP_TIMEOUT
        while True:
            self.pump()
            result = condition()
            if result:
                return result
            if time.monotonic() > deadline:
                raise Failure("waited in vain for " + (what() if callable(what) else what))
            time.sleep(0.05)

    def _application(self):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.get_process_id() == self.process_id:
                return application
        return None

    def child(self, root, role, name):
        return pyatspi.findDescendant(
            root, lambda a: a.getRoleName() == role and a.name == name and showing(a))

    # The bar of buttons under the pages, and the stack of pages beside it, found once.
    def bar(self):
        if self._bar is None:
            button = self.child(self.window, "push button", "Exit") or self.child(self.window, "push button", "Cancel")
            self._bar = button.parent if button else None
        return self._bar

    def page(self):
        if self._pages is None and self.bar() is not None:
            self._pages = next((c for c in self._bar.parent if c is not None and c.getRoleName() == "layered pane"),
                               None)
        shown = [p for p in self._pages if p is not None and showing(p)] if self._pages else []
        return shown[0] if len(shown) == 1 else None

    def inside(self, accessible, ancestor):
        while accessible is not None:
            if accessible == ancestor:
                return True
            accessible = accessible.parent
        return False

    def control(self, role, name, where=None):
        """The shown control of the role and name on the current page (or in where), once it is there."""
        def find():
            root = where or self.page()
            return self.child(root, role, name) if root else None
        return self.wait(find, "%s %r" % (role, name))

    def button(self, name):
        return self.control("push button", name, self.bar())

    def press(self, name):
        def pressable():
            button = self.child(self.bar(), "push button", name)
            return button if button is not None and self.sensitive(button) else None
        button = self.wait(pressable, "button %r that can be pressed" % name)
        print("press", name, flush=True)
        self.act(button, "Press")

    def act(self, accessible, action):
        actions = accessible.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if action not in names:
            raise Failure("%s has no action %r, only %s" % (described(accessible), action, names))
        actions.doAction(names.index(action))

    def sensitive(self, accessible):
        return accessible.getState().contains(pyatspi.STATE_SENSITIVE)

    def focused(self, root):
        """The objects below root that hold the focus. Item views say that their current row is focused
        whether they have the focus or not, and a text box's viewport shares its box's focus."""
        return [a for a in pyatspi.findAllDescendants(
                    root, lambda a: showing(a) and a.getState().contains(pyatspi.STATE_FOCUSED))
                if a.getRoleName() not in ("table cell", "list item", "filler")]

    def arrived(self, role, name, focus_on=None):
        """Waits for the page that shows the control, then checks what the page offers a screen reader:
        the focus inside it (on focus_on when given), and a name for every control on it and for every
        object that the focus went to so far."""
        control = self.control(role, name)
        page = self.page()
        print("page with", described(control), flush=True)
        if focus_on is None:
            self.wait(lambda: self.focused(page), lambda: "the focus inside the page with %s, it is on %s" % (
                described(control), [described(a) for a in self.focused(self.window)]))
        else:
            self.wait(lambda: focus_on.getState().contains(pyatspi.STATE_FOCUSED),
                      "the focus on %s" % described(focus_on))
        for accessible in self.focused(page):
            if not accessible.name:
                raise Failure("the focus is on an unnamed %s" % accessible.getRoleName())
        for accessible, role_name, name in self.focus:
            if not name:
                raise Failure("the focus went to an unnamed %s" % role_name)
        for accessible in pyatspi.findAllDescendants(page, lambda a: showing(a) and a.getState().contains(
                pyatspi.STATE_FOCUSABLE)):
            if not accessible.name and accessible.getRoleName() != "filler":
                raise Failure("%s on the page has no name" % accessible.getRoleName())
        return control

    def row(self, view, start):
        return self.wait(lambda: next((r for r in view if r is not None and r.name.startswith(start)), None),
                         "a row %r in %s" % (start, described(view)))

    def selected(self, accessible):
        return accessible.getState().contains(pyatspi.STATE_SELECTED)

    def update(self):
        devices = self.arrived("list", "Devices found")
        if not any(self.selected(r) for r in devices):
            raise Failure("no device chosen")
        self.press("Next")

        self.arrived("list", "Korwind Navigator applications found:")
        self.press("Next")

        updates = self.arrived("list", "Korwind Navigator updates available:")
        if not self.selected(self.row(updates, "Korwind Navigator 5.2.0.0")):
            raise Failure("the navigator update is not chosen")
        backup = self.control("check box", "Create a backup")
        if not backup.getState().contains(pyatspi.STATE_CHECKED):
            raise Failure("the backup is not chosen")
        self.press("Update")

        # The card: chosen by selecting its row, as a screen reader does; nothing is chosen before.
        cards = self.arrived("list", "Storage cards available:")
        if any(self.selected(r) for r in cards) or self.sensitive(self.button("Next")):
            raise Failure("a card was chosen before the user chose one")
        memory = next(r for r in cards if r is not None and r.name.startswith("NAVI: device memory, "))
        cards.queryTable().addRowSelection(memory.getIndexInParent())
        self.wait(lambda: self.sensitive(self.button("Next")), "\"Next\" after choosing the card")
        description = self.control("text", "Description")
        if "Maps:" not in description.queryText().getText(0, -1):
            raise Failure("the card's description is not shown")
        self.press("Next")

        # The maps: Russia opened, two maps chosen; each row whose state changes is announced.
        tree = self.arrived("tree", "Maps")
        self.act(self.row(tree, "Russia, version"), "expand")
        self.choose(tree, "Russia, Central, version", "Will be updated",
                    {"Base map, version": "Will be updated (follows from the other chosen maps)",
                     "Russia, version": "Will be updated (follows from the other chosen maps)"})
        self.choose(tree, "Belarus, version", "Will be installed", {"Minsk, version": "Will be deleted from the device"})
        pane = self.wait(lambda: pyatspi.findDescendant(
            self.page(), lambda a: a.getRoleName() == "label" and a.description == "Description of the current map"),
            "the description of the current map")
        if not pane.name.startswith("All of Belarus") or "Size:" not in pane.name:
            raise Failure("the description pane reads %r" % pane.name)
        # Another card is a real button, which a screen reader presses.
        other = self.control("push button", "Choose other storage card")
        if not self.sensitive(other) or "Press" not in [other.queryAction().getName(i)
                                                        for i in range(other.queryAction().nActions)]:
            raise Failure("\"Choose other storage card\" cannot be pressed")
        self.press("Update")

        # The warning takes the focus, so that it is read; "Update" confirms it.
        removed = self.control("text", "Maps that will be removed")
        self.arrived("text", "Maps that will be removed", focus_on=removed)
        if "will be removed" not in removed.description or "Minsk" not in removed.queryText().getText(0, -1):
            raise Failure("the warning reads %r" % removed.description)
        self.press("Update")

        # The job: the focus stays on "Cancel" until the success page.
        cancel = self.button("Cancel")
        self.wait(lambda: cancel.getState().contains(pyatspi.STATE_FOCUSED), "the focus on \"Cancel\" during the job")
        job_start = len(self.focus)
        message = self.wait(lambda: self.page() and pyatspi.findDescendant(
            self.page(), lambda a: a.getRoleName() == "label" and a.name.startswith("Update is successfully completed!")),
            "the success message")
        self.arrived("label", message.name, focus_on=message)
        success = self.page()
        wandered = [f[1:] for f in self.focus[job_start:] if f[0] != cancel and not self.inside(f[0], success)]
        if wandered:
            raise Failure("the focus left \"Cancel\" during the job for %s" % wandered)
        print("success:", message.name.replace("\n", " "), flush=True)

    def choose(self, tree, start, state, followers):
        """Changes what happens to a map through its row's action, and checks the announcements of the row
        and of the rows that follow from it."""
        self.announced.clear()
        row = self.row(tree, start)
        print("choose", row.name, flush=True)
        self.act(row, "Toggle")
        expected = {start: state, **followers}
        for begin, text in expected.items():
            self.wait(lambda: any(n.startswith(begin) and n.endswith(", " + text) for n in self.announced),
                      lambda: "the announcement %r ... %r among %s" % (begin, text, self.announced))
            if not self.row(tree, begin).name.endswith(", " + text):
                raise Failure("the row %r does not read %r" % (begin, text))


def main():
    try:
        Driver(int(sys.argv[1])).update()
    except Failure as failure:
        print("FAILED:", failure, flush=True)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
