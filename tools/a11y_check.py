#!/usr/bin/python3
"""What a screen reader gets from Tovimar, read through the real AT-SPI bridge.

Run by tools/a11y-check inside a private D-Bus session: starts its own X display, the
accessibility bus and registry, and the program; drives the program with real keys and clicks
(xdotool) and reads what the bridge publishes (pyatspi), as Orca would. Prints one line per check,
PASS or FAIL with what was found, and exits 0 only when every check passed.
"""

import argparse
import os
import signal
import subprocess
import sys
import time

CONTROL_ROLES = set()  # filled once pyatspi is imported

HEADING_BOTTLE = "PLEASE TAG THE CHECKBOXES FOR ALTERNATIVE BOTTLE SIZES"
HEADING_ADDING = "SELECT CALIBRATORS"
BACK_NAME = "Back to the assays"
BACK_BOTTLE = "Keeps the sizes ticked and goes back to the assays"
BACK_ADDING = "Adds the ticked items and goes back to the assays"
START_NAME = "Tovimar"
START_DESCRIPTION = "Press S or click the picture to begin."
FRAME_DESCRIPTIONS = {
    "ORLAN Assays": "ORLAN assay",
    "VEX Assays": "VEX assay",
    "Serum TOX Assays": "Serum TOX assay",
    "Adulteration Assays": "Adulteration assay",
}


class Timeout(Exception):
    pass


# ---- The processes: X, the accessibility bus and registry, the program ------------------------


class Processes:
    """Everything started here, each in a process group of its own, stopped in reverse order."""

    def __init__(self, logdir):
        self.procs = []
        self.logdir = logdir

    def start(self, name, argv, env=None):
        log = open(os.path.join(self.logdir, name + ".log"), "wb")
        p = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                             env=env, start_new_session=True)
        log.close()
        self.procs.append(p)
        return p

    def log(self, name):
        try:
            with open(os.path.join(self.logdir, name + ".log"), errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def stop(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                try:
                    os.killpg(p.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for p in reversed(self.procs):
            try:
                p.wait(timeout=3)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(p.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                p.wait()
        self.procs = []


def poll_until(condition, timeout, step=0.05):
    """The condition's first true value, or None when the time ran out."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            return None
        time.sleep(step)


def start_display(procs, displays):
    for d in displays:
        if os.path.exists("/tmp/.X11-unix/X%d" % d) or os.path.exists("/tmp/.X%d-lock" % d):
            continue
        p = procs.start("xvfb", ["Xvfb", ":%d" % d, "-screen", "0", "1280x1024x24", "-dpi", "96",
                                 "-nolisten", "tcp", "-noreset"])
        env = dict(os.environ, DISPLAY=":%d" % d)

        def up():
            if p.poll() is not None:
                return "gone"
            r = subprocess.run(["xdotool", "getdisplaygeometry"], env=env, capture_output=True)
            return "up" if r.returncode == 0 else None

        state = poll_until(up, 10)
        if state == "up":
            return ":%d" % d
        # Lost a race for this display to another server: try the next one.
        p.kill()
    raise RuntimeError("no free X display among :%d to :%d" % (displays[0], displays[-1]))


def session_bus_has(name):
    from gi.repository import Gio, GLib
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                          "NameHasOwner", GLib.Variant("(s)", (name,)), None, 0, 2000, None)
    return reply.unpack()[0]


def a11y_bus():
    from gi.repository import Gio
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, None,
                          0, 2000, None)
    flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
             | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
    return Gio.DBusConnection.new_for_address_sync(reply.unpack()[0], flags, None, None)


def a11y_bus_has(conn, name):
    from gi.repository import GLib
    reply = conn.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "NameHasOwner", GLib.Variant("(s)", (name,)), None, 0, 2000, None)
    return reply.unpack()[0]


def start_accessibility(procs, display):
    env = dict(os.environ, DISPLAY=display)
    procs.start("bus-launcher", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env)
    if not poll_until(lambda: session_bus_has("org.a11y.Bus"), 10):
        raise RuntimeError("the accessibility bus did not start:\n" + procs.log("bus-launcher"))
    conn = poll_until(lambda: _try(a11y_bus), 10)
    if not conn:
        raise RuntimeError("the accessibility bus has no address")
    procs.start("registryd", ["/usr/libexec/at-spi2-registryd"], env=env)
    if not poll_until(lambda: _try(lambda: a11y_bus_has(conn, "org.a11y.atspi.Registry")), 10):
        raise RuntimeError("the accessibility registry did not start:\n" + procs.log("registryd"))


def _try(f, default=None):
    try:
        return f()
    except Exception:
        return default


# ---- Reading the accessible tree -------------------------------------------------------------

pyatspi = None
GLibContext = None


def pump():
    while GLibContext.iteration(False):
        pass


def wait_for(condition, timeout=5.0):
    """Runs the event loop and the condition until it gives a true value; None when time ran out.
    The bridge is asynchronous: every read waits for its state instead of sleeping."""
    end = time.monotonic() + timeout
    while True:
        pump()
        value = _try(condition)
        if value:
            return value
        if time.monotonic() > end:
            return None
        time.sleep(0.05)


def settle(seconds=0.3):
    """Lets events already under way arrive (for reading what did or did not come)."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump()
        time.sleep(0.02)


def role(acc):
    return _try(acc.getRole, -1)


def role_name(acc):
    return _try(acc.getRoleName, "?")


def name(acc):
    return _try(lambda: acc.name or "", "")


def description(acc):
    return _try(lambda: acc.description or "", "")


def states(acc):
    return _try(lambda: acc.getState(), None)


def has_state(acc, state):
    s = states(acc)
    return bool(s and s.contains(state))


def showing(acc):
    return has_state(acc, pyatspi.STATE_SHOWING)


def children(acc):
    out = []
    for i in range(_try(lambda: acc.childCount, 0)):
        c = _try(lambda: acc.getChildAtIndex(i))
        if c is not None:
            out.append(c)
    return out


def walk(acc, only_showing=True):
    for c in children(acc):
        if only_showing and not showing(c):
            continue
        yield c
        yield from walk(c, only_showing)


def extents(acc):
    e = _try(lambda: acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS))
    return (e.x, e.y, e.width, e.height) if e else None


def same(a, b):
    """One object, as far as its path, role, name and place tell."""
    return (a is not None and b is not None and role(a) == role(b) and name(a) == name(b)
            and extents(a) == extents(b) and path(a) == path(b))


def path(acc):
    return _try(lambda: acc.path, None)


def show(acc):
    if acc is None:
        return "nothing"
    return "%s %r (%r)" % (role_name(acc), name(acc), description(acc))


def spoken(text):
    """A text as compared: invisible joiners gone, blanks folded."""
    return " ".join(text.replace("\u2060", "").split())


class Program:
    def __init__(self, process):
        self.process = process
        self.pid = process.pid
        self.app = None
        self.events = []

    def find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            if _try(app.get_process_id) == self.pid:
                return app
        return None

    def windows(self):
        return [w for w in children(self.app) if showing(w)]

    def window(self, title_start):
        for w in self.windows():
            if name(w).startswith(title_start):
                return w
        return None

    def focused(self):
        """The object the focus is on: the last one the bridge said gained it, if it still has it,
        else the first focused one in the tree."""
        for kind, source, gained, _ in reversed(self.events):
            if kind == "object:state-changed:focused" and gained:
                if has_state(source, pyatspi.STATE_FOCUSED):
                    return source
                break
        return self.focused_in_tree()

    def focused_in_tree(self):
        for w in self.windows():
            if has_state(w, pyatspi.STATE_FOCUSED):
                return w
            for acc in walk(w):
                if has_state(acc, pyatspi.STATE_FOCUSED):
                    return acc
        return None

    def shown_since(self, mark, pred):
        """An object that came into view after event MARK and fits PRED (a popup menu, which the
        application's list of children does not hold)."""
        for kind, source, gained, _ in self.events[mark:]:
            if kind == "object:state-changed:showing" and gained and showing(source) and _try(lambda: pred(source)):
                return source
        return None

    def find(self, where, pred):
        for acc in walk(where):
            if _try(lambda: pred(acc)):
                return acc
        return None


# ---- Acting as the user -------------------------------------------------------------------------


class Desk:
    def __init__(self, display):
        self.env = dict(os.environ, DISPLAY=display)

    def xdotool(self, *args):
        r = subprocess.run(["xdotool"] + list(args), env=self.env, capture_output=True, text=True,
                           timeout=10)
        return r.stdout.strip() if r.returncode == 0 else None

    def click(self, acc):
        e = extents(acc)
        if not e:
            return False
        x, y, w, h = e
        self.xdotool("mousemove", str(x + w // 2), str(y + h // 2), "click", "1")
        return True

    def window_id(self, title_regex):
        return poll_until(lambda: (self.xdotool("search", "--onlyvisible", "--name", title_regex)
                                   or "").split("\n")[0], 10)

    def title(self, wid):
        return self.xdotool("getwindowname", wid)

    def keys(self, wid, *keys):
        """Keys to a window given the keyboard first: without a window manager nobody else does."""
        self.xdotool("windowfocus", "--sync", wid)
        self.xdotool("key", "--delay", "40", *keys)


# ---- The checks ------------------------------------------------------------------------------


class Report:
    def __init__(self, verbose):
        self.passed = 0
        self.failed = 0
        self.verbose = verbose
        self.started = time.monotonic()

    def check(self, ok, what, found=""):
        when = " [%.1f s]" % (time.monotonic() - self.started) if self.verbose else ""
        if ok:
            self.passed += 1
            print("PASS " + what + when, flush=True)
        else:
            self.failed += 1
            print("FAIL %s (%s)%s" % (what, found or "not found", when), flush=True)
        return ok

    def dump(self, title, window):
        if not self.verbose:
            return
        print("---- %s: the accessible tree of %s" % (title, show(window)))

        def down(acc, depth):
            for c in children(acc):
                if not showing(c):
                    continue
                print("  " * depth + show(c) + (" [focused]" if has_state(c, pyatspi.STATE_FOCUSED) else ""))
                down(c, depth + 1)

        down(window, 1)
        print("----", flush=True)


def count_text(n, one, many):
    return "No " + many if n == 0 else "1 " + one if n == 1 else "%d %s" % (n, many)


def list_lines(lst):
    return [c for c in children(lst) if role(c) == pyatspi.ROLE_LIST_ITEM and name(c).strip()]


def is_control(acc, boxed_items):
    r = role(acc)
    if r == pyatspi.ROLE_IMAGE:
        # A picture is a control where it takes the focus (the start screen's); else decoration.
        return has_state(acc, pyatspi.STATE_FOCUSABLE)
    if r in CONTROL_ROLES:
        return True
    # Lines of a list are its content, except where the lines are the boxes ticked.
    return boxed_items and r == pyatspi.ROLE_LIST_ITEM and has_state(acc, pyatspi.STATE_CHECKABLE)


def check_told_apart(rep, view, window, boxed_items=False):
    seen = {}
    shared = []
    count = 0
    for acc in walk(window):
        if not is_control(acc, boxed_items):
            continue
        count += 1
        key = (name(acc), description(acc))
        if key in seen:
            shared.append("%s and %s" % (show(seen[key]), role_name(acc)))
        else:
            seen[key] = acc
    rep.check(count > 0 and not shared, "%s: no two of its %d controls share name and description" %
              (view, count), "; ".join(shared[:4]) + (" and %d more" % (len(shared) - 4)
                                                      if len(shared) > 4 else ""))


def reading_order(items):
    def key(acc):
        e = extents(acc) or (0, 0, 0, 0)
        return (e[1], e[0])
    return sorted(items, key=key)


class Checker:
    def __init__(self, rep, prog, desk, wid):
        self.rep, self.prog, self.desk, self.wid = rep, prog, desk, wid
        self.main = None

    def frame(self, frame_name):
        return self.prog.find(self.main, lambda a: role(a) != pyatspi.ROLE_LIST and name(a) == frame_name
                              and role(a) in (pyatspi.ROLE_PANEL, pyatspi.ROLE_GROUPING, pyatspi.ROLE_FILLER))

    def control(self, frame_name, control_name, wanted_role=None):
        f = self.frame(frame_name)
        if f is None:
            return None
        return self.prog.find(f, lambda a: name(a) == control_name and (wanted_role is None or role(a) == wanted_role))

    def named(self, control_name, wanted_role, where=None):
        return self.prog.find(where or self.main, lambda a: name(a) == control_name and role(a) == wanted_role)

    def tick(self, frame_name, caption, option=None, qual=False, box=True):
        """Ticks a row's box (unless BOX is false), then chooses its cut-off and QUAL if asked."""
        if box:
            b = self.control(frame_name, caption, pyatspi.ROLE_CHECK_BOX)
            if b is None:
                return False
            self.desk.click(b)
            if not wait_for(lambda: has_state(b, pyatspi.STATE_CHECKED), 3):
                return False
        if option:
            opt = wait_for(lambda: self.control(frame_name, caption + " " + option, pyatspi.ROLE_RADIO_BUTTON), 3)
            if opt is None:
                return False
            self.desk.click(opt)
            if not wait_for(lambda: has_state(opt, pyatspi.STATE_CHECKED), 3):
                return False
        if qual:
            q = wait_for(lambda: self.control(frame_name, caption + " QUAL", pyatspi.ROLE_CHECK_BOX), 3)
            if q is None:
                return False
            self.desk.click(q)
            if not wait_for(lambda: has_state(q, pyatspi.STATE_CHECKED), 3):
                return False
        return True

    def wait_focus(self, pred, timeout=2.0):
        """The focused object once it fits, else whatever has the focus after the wait."""
        got = wait_for(lambda: (lambda f: f if f is not None and pred(f) else None)(self.prog.focused()), timeout)
        if got is not None:
            return got, got
        # The bridge may not have said so: the tree has the last word.
        focus = self.prog.focused_in_tree()
        return (focus if focus is not None and _try(lambda: pred(focus)) else None), focus

    # -- the window and the start screen --

    def window_and_start(self):
        rep = self.rep
        title = self.desk.title(self.wid) or ""
        w = self.main
        rep.check(role(w) in (pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW) and name(w) == title,
                  "the window is announced as a window named by its title %r" % title,
                  "%s %r" % (role_name(w), name(w)))
        rep.dump("start screen", w)
        # A window manager gives a new window the keyboard; here nobody does, so the check does.
        self.desk.xdotool("windowfocus", "--sync", self.wid)
        got, focus = self.wait_focus(lambda f: name(f) == START_NAME)
        rep.check(got is not None and description(got) == START_DESCRIPTION,
                  "start screen: the focused picture is %r with %r" % (START_NAME, START_DESCRIPTION),
                  "focused: " + show(focus))
        check_told_apart(rep, "start screen", w)

    def leave_start(self):
        self.desk.keys(self.wid, "s")
        # The help button is the last to appear at the end of the start transition.
        help_button = wait_for(lambda: self.named("SHOW HELP", pyatspi.ROLE_PUSH_BUTTON), 10)
        amph = wait_for(lambda: self.control("ORLAN Assays", "AMPH / XTC", pyatspi.ROLE_CHECK_BOX), 5)
        if help_button is None or amph is None:
            raise RuntimeError("the main view did not appear (S on the start screen)")
        last = [None]

        def still():
            now = extents(help_button), extents(amph)
            steady = now == last[0]
            last[0] = now
            return steady

        wait_for(still, 10)

    # -- 1: changes are announced --

    def announcement(self):
        rep, prog = self.rep, self.prog
        calib = self.named("REQUIRED CALIBRATORS", pyatspi.ROLE_LIST)
        ctrl = self.named("SUGGESTED CONTROLS", pyatspi.ROLE_LIST)
        ok = self.tick("ORLAN Assays", "AMPH / XTC")
        calib = calib or wait_for(lambda: self.named("REQUIRED CALIBRATORS", pyatspi.ROLE_LIST), 3)
        ctrl = ctrl or wait_for(lambda: self.named("SUGGESTED CONTROLS", pyatspi.ROLE_LIST), 3)
        lists = [acc for acc in (calib, ctrl) if acc is not None]
        lines_before = [[name(i) for i in list_lines(l)] for l in lists]
        # The lists come into view with the first tick; what counts is an event on the change of
        # their lines that the cut-off makes, not on their showing.
        settle()
        mark = len(prog.events)
        ok = ok and self.tick("ORLAN Assays", "AMPH / XTC", "500", box=False)
        if not rep.check(ok, "ticking AMPH / XTC and choosing 500 with the mouse"):
            return
        changed = wait_for(lambda: [[name(i) for i in list_lines(l)] for l in lists] != lines_before, 3)
        rep.check(changed, "choosing 500 changes the lines of the lists", "the same lines")

        def from_lists():
            return [e for e in prog.events[mark:] if not e[0].startswith("object:state-changed:")
                    and any(same(e[1], l) for l in lists)]

        wait_for(from_lists, 3)
        settle()
        got = from_lists()
        rep.check(bool(got), "the calibrator and control lists send an event when their lines change",
                  "events: " + ", ".join(sorted({e[0] + " from " + role_name(e[1]) for e in prog.events[mark:]})))
        if got and rep.verbose:
            print("  events from the lists: " + ", ".join(sorted({e[0] for e in got})))
        for lst, one, many, what in ((calib, "calibrator", "calibrators", "CalibList"),
                                    (ctrl, "control", "controls", "CtrlList")):
            if lst is None:
                rep.check(False, "%s is there" % what)
                continue
            n = len(list_lines(lst))
            want = count_text(n, one, many)
            rep.check(description(lst) == want, "%s's description says how many lines it shows: %r" % (what, want),
                      "description %r" % description(lst))
        if calib is not None:
            n = len(list_lines(calib))
            rep.check(n == 4, "AMPH / XTC at 500 asks for 4 calibrators", "%d lines" % n)
        opt = self.control("ORLAN Assays", "AMPH / XTC 500", pyatspi.ROLE_RADIO_BUTTON)
        got, focus = self.wait_focus(lambda f: same(f, opt), 2)
        rep.check(got is not None, "the focus stays on the option just chosen", "focused: " + show(focus))

    def undo_told(self):
        """Ctrl+Z and Ctrl+Shift+Z on the cut-off just chosen: the window says what was undone and redone."""
        rep, prog = self.rep, self.prog
        window = prog.window("Nordvale Tovimar")
        for keys, word in (("ctrl+z", "Undone"), ("ctrl+shift+z", "Redone")):
            mark = len(prog.events)
            self.desk.keys(self.wid, keys)

            def told():
                return [e for e in prog.events[mark:] if e[0].startswith("object:property-change:accessible-description")
                        and same(e[1], window)]

            wait_for(told, 3)
            want = word + ": cut-off 500 of ORLAN assay AMPH / XTC"
            got = description(window) if window is not None else ""
            rep.check(bool(told()) and got == want, "main view: %s is told as %r" % (keys, want),
                      "description %r, events: %s" % (got, ", ".join(sorted({e[0] for e in prog.events[mark:]}))))

    # -- 2: every control is told apart --

    def main_view_told_apart(self):
        rep = self.rep
        ok = (self.tick("ORLAN Assays", "COCAINE", "300", qual=True) and self.tick("VEX Assays", "ETHYL ALCOHOL")
              and self.tick("Serum TOX Assays", "ACETAMINOPHEN") and self.tick("Adulteration Assays", "CREATININE"))
        rep.check(ok, "ticking COCAINE 300 QUAL, ETHYL ALCOHOL, ACETAMINOPHEN and CREATININE")
        rep.dump("main view", self.main)
        check_told_apart(rep, "main view", self.main)
        spots = [("ORLAN Assays", "AMPH / XTC", pyatspi.ROLE_CHECK_BOX, "ORLAN assay"),
                 ("ORLAN Assays", "AMPH / XTC 500", pyatspi.ROLE_RADIO_BUTTON, "ORLAN assay, AMPH / XTC cut-off 500"),
                 ("ORLAN Assays", "COCAINE QUAL", pyatspi.ROLE_CHECK_BOX, "ORLAN assay, COCAINE run qualitatively"),
                 ("VEX Assays", "ETHYL ALCOHOL", pyatspi.ROLE_CHECK_BOX, "VEX assay"),
                 ("Serum TOX Assays", "ACETAMINOPHEN", pyatspi.ROLE_CHECK_BOX, "Serum TOX assay"),
                 ("Adulteration Assays", "CREATININE", pyatspi.ROLE_CHECK_BOX, "Adulteration assay")]
        for frame_name, control_name, r, want in spots:
            acc = self.control(frame_name, control_name, r)
            rep.check(acc is not None and description(acc) == want,
                      "main view: %s in %s is described %r" % (control_name, frame_name, want),
                      show(acc) if acc is not None else "no such control")
        # Every assay box's description begins with its frame's.
        wrong = []
        for frame_name, prefix in FRAME_DESCRIPTIONS.items():
            f = self.frame(frame_name)
            for acc in walk(f) if f is not None else []:
                if role(acc) in (pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON) and \
                        not (description(acc) == prefix or description(acc).startswith(prefix + ", ")):
                    wrong.append(show(acc))
        rep.check(not wrong, "main view: every assay control's description begins with its frame",
                  "; ".join(wrong[:3]) + (" and %d more" % (len(wrong) - 3) if len(wrong) > 3 else ""))

    def order_window(self):
        rep, prog = self.rep, self.prog
        self.desk.keys(self.wid, "q")
        w = wait_for(lambda: prog.window("Order and quantities"), 5)
        if not rep.check(w is not None, "Q opens the order window"):
            return
        wait_for(lambda: self.prog.find(w, lambda a: role(a) == pyatspi.ROLE_TABLE), 3)
        rep.dump("order window", w)
        check_told_apart(rep, "order window", w)
        owid = self.desk.window_id("^Order and quantities$")
        if owid:
            # A quantity typed into the first line (the window opens on its quantity) is told
            # from its cell with the new value.
            mark = len(prog.events)
            self.desk.keys(owid, "7", "Return")

            def told():
                return [e for e in prog.events[mark:] if e[0] == "object:property-change:accessible-name"
                        and role(e[1]) == pyatspi.ROLE_TABLE_CELL and spoken(name(e[1])) == "7"]

            rep.check(bool(wait_for(told, 3)), "order window: a quantity typed is told from its cell",
                      "events: " + ", ".join(sorted({e[0] + " from " + role_name(e[1]) for e in prog.events[mark:]})))
            self.desk.keys(owid, "Escape")
        wait_for(lambda: prog.window("Order and quantities") is None, 5)

    # -- 3: focus follows the user --

    def refinement_view(self, view, button_name, heading, back_description, key, containers, boxed_items):
        rep, prog = self.rep, self.prog
        button = self.named(button_name, pyatspi.ROLE_PUSH_BUTTON)
        if not rep.check(button is not None, "main view: the button %r is there" % button_name):
            return
        where = extents(button)

        def boxes():
            """The view's boxes in reading order: its first list's, then its second's."""
            out = []
            for c in containers:
                holder = self.named(c, pyatspi.ROLE_LIST if boxed_items else pyatspi.ROLE_PANEL)
                if holder is not None:
                    out += reading_order([a for a in walk(holder) if role(a) in (pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_LIST_ITEM)])
            return out

        def opens_with_heading(f):
            if spoken(description(f)).startswith(heading):
                return True
            # A list of boxes is read by its name, the heading over it.
            if role(f) == pyatspi.ROLE_LIST and spoken(name(f)).startswith(heading):
                return True
            p = _try(f.get_parent)
            return role(f) == pyatspi.ROLE_LIST_ITEM and p is not None and spoken(description(p)).startswith(heading)

        def is_back(a):
            return role(a) == pyatspi.ROLE_PUSH_BUTTON and (name(a) == BACK_NAME or extents(a) == where)

        for how in ("mouse", "keyboard"):
            if how == "mouse":
                self.desk.click(button)
            else:
                # Into the view from its button with the Space bar: the button is given the focus
                # first where it does not have it yet.
                if not same(prog.focused(), button):
                    _try(lambda: button.queryComponent().grabFocus())
                    wait_for(lambda: same(prog.focused(), button), 2)
                self.desk.keys(self.wid, "space")
            shown = wait_for(lambda: self.named(heading, pyatspi.ROLE_LABEL), 5)
            if not rep.check(shown is not None, "%s view opens (%s)" % (view, how)):
                return
            got, focus = self.wait_focus(opens_with_heading)
            in_order = boxes()
            first = in_order[0] if in_order else None
            # A list holding the boxes may take the focus itself: then it is the first list.
            first_list = self.named(containers[0], pyatspi.ROLE_LIST) if boxed_items else None
            rep.check(got is not None and (same(got, first) or same(got, first_list)),
                      "%s view entered by %s: the focus is on its first box, described from %r" % (view, how, heading),
                      "focused: " + show(focus) + ("; first box: " + show(first) if first is not None else ""))
            if how == "mouse":
                rep.dump(view + " view", self.main)
                check_told_apart(rep, view + " view", self.main, boxed_items)
                back = wait_for(lambda: prog.find(self.main, is_back), 2)
                rep.check(back is not None and name(back) == BACK_NAME and description(back) == back_description,
                          "%s view: the back button is %r, %r" % (view, BACK_NAME, back_description),
                          show(back))
                if view == "bottle-size":
                    wrong = []
                    for frame_name in ("Reagents", "Calibrators"):
                        f = self.frame(frame_name)
                        for a in walk(f) if f is not None else []:
                            d = description(a)
                            if role(a) == pyatspi.ROLE_CHECK_BOX and not (d.startswith(heading) and frame_name in d):
                                wrong.append(show(a))
                    rep.check(not wrong, "bottle-size view: each box's description has the heading and its list",
                              "; ".join(wrong[:3]))
                if back is None:
                    return
                self.desk.click(back)
            else:
                self.desk.keys(self.wid, key)
            gone = wait_for(lambda: self.named(heading, pyatspi.ROLE_LABEL) is None, 5)
            rep.check(gone, "%s view closes (%s)" % (view, "back button" if how == "mouse" else "key " + key.upper()),
                      "its heading is still there")
            got, focus = self.wait_focus(lambda f: name(f) == button_name and role(f) == pyatspi.ROLE_PUSH_BUTTON)
            rep.check(got is not None, "%s view left (%s): the focus is back on %r" % (view, how, button_name),
                      "focused: " + show(focus))

    def help(self):
        rep, prog = self.rep, self.prog
        before_labels = {path(a) for a in walk(self.main) if role(a) == pyatspi.ROLE_LABEL}
        opt = self.control("ORLAN Assays", "AMPH / XTC 500", pyatspi.ROLE_RADIO_BUTTON)
        if opt is not None and not same(prog.focused(), opt):
            _try(lambda: opt.queryComponent().grabFocus())
            wait_for(lambda: same(prog.focused(), opt), 2)
        before = prog.focused()
        self.desk.keys(self.wid, "F1")
        got, focus = self.wait_focus(lambda f: name(f) == "Help")
        labels = reading_order([a for a in walk(self.main) if role(a) == pyatspi.ROLE_LABEL
                                and path(a) not in before_labels and name(a).strip()])
        rep.dump("help", self.main)
        check_told_apart(rep, "help", self.main)
        if rep.check(got is not None, "F1: the focus moves into help, on an object named 'Help'",
                     "focused: " + show(focus)):
            text = spoken(description(got))
            missing = [name(a) for a in labels if spoken(name(a)) not in text]
            rep.check(labels and not missing, "help: its description holds the %d texts of the overlay" % len(labels),
                      ("missing: %r" % missing[:3]) if labels else "no texts found in the overlay")
        self.desk.keys(self.wid, "Escape")
        got, focus = self.wait_focus(lambda f: same(f, before), 3)
        rep.check(before is not None and got is not None,
                  "Esc ends help and the focus goes back to %s" % show(before), "focused: " + show(focus))

    def menu_keys(self):
        rep, prog = self.rep, self.prog

        def is_menu(acc):
            return role(acc) in (pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_MENU) and any(
                role(i) == pyatspi.ROLE_MENU_ITEM and name(i).startswith("Open selection...") for i in children(acc))

        for key in ("shift+F10", "Menu"):
            mark = len(prog.events)
            self.desk.keys(self.wid, key)
            menu = wait_for(lambda: prog.shown_since(mark, is_menu), 2)
            rep.check(menu is not None, "main view: %s opens the menu with 'Open selection...'" % key)
            if menu is not None:
                self.desk.xdotool("key", "Escape")
                wait_for(lambda: not showing(menu), 3)

    def run(self):
        self.window_and_start()
        self.leave_start()
        self.announcement()
        self.undo_told()
        self.main_view_told_apart()
        self.menu_keys()
        self.help()
        self.order_window()
        self.refinement_view("bottle-size", "CHOOSE BOTTLE SIZE", HEADING_BOTTLE, BACK_BOTTLE, "b",
                             ("Reagents", "Calibrators"), False)
        self.refinement_view("adding", "ADD ADDITIONAL CAL & CTRLS", HEADING_ADDING, BACK_ADDING, "b",
                             ("SELECT CALIBRATORS", "SELECT CONTROLS"), True)


def open_session(procs, program_path, logs):
    """X, the accessibility bus and registry, and the program with its main window on them."""
    global pyatspi, GLibContext
    display = start_display(procs, list(range(70, 80)))
    start_accessibility(procs, display)
    import pyatspi as p
    from gi.repository import GLib
    pyatspi = p
    GLibContext = GLib.MainContext.default()
    CONTROL_ROLES.update({p.ROLE_PUSH_BUTTON, p.ROLE_TOGGLE_BUTTON, p.ROLE_CHECK_BOX, p.ROLE_RADIO_BUTTON,
                          p.ROLE_LIST, p.ROLE_LIST_BOX, p.ROLE_TABLE, p.ROLE_TREE, p.ROLE_TREE_TABLE,
                          p.ROLE_COMBO_BOX, p.ROLE_TEXT, p.ROLE_ENTRY, p.ROLE_SPIN_BUTTON, p.ROLE_SLIDER,
                          p.ROLE_PAGE_TAB, p.ROLE_MENU_ITEM, p.ROLE_IMAGE})
    events = []
    # Registered before the program starts: the bridge sends only what some client listens for.
    p.Registry.registerEventListener(lambda e: events.append((e.type, e.source, e.detail1, e.any_data)),
                                     "object:", "focus:", "window:")
    env = dict(os.environ, DISPLAY=display, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               CUPS_SERVER=os.path.join(logs, "no-cups-server"))
    for v in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
              "QT_ACCESSIBILITY", "NO_AT_BRIDGE"):
        env.pop(v, None)
    process = procs.start("tovimar", [program_path], env=env)
    prog = Program(process)
    prog.events = events
    prog.app = wait_for(prog.find_app, 20)
    if prog.app is None:
        raise RuntimeError("the program never appeared on the accessibility bus:\n" + procs.log("tovimar"))
    # Read as it is now, not as remembered: the bridge does not tell of every new child (the help's
    # texts are made when first shown), so a cached tree would miss them.
    prog.app.set_cache_mask(0)
    desk = Desk(display)
    wid = desk.window_id("^Nordvale Tovimar")
    main_window = wait_for(lambda: prog.window("Nordvale Tovimar"), 10)
    if not wid or main_window is None:
        raise RuntimeError("the main window did not appear")
    return prog, desk, wid, main_window


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("program")
    parser.add_argument("--verbose", action="store_true",
                        help="also print the accessible tree of each view and the events received")
    parser.add_argument("--logs", default=None, help="folder for the logs of the processes started")
    parser.add_argument("--timeout", type=int, default=90)
    args = parser.parse_args()

    def expired(signum, frame):
        raise Timeout()

    def ended(signum, frame):
        raise SystemExit(130)

    signal.signal(signal.SIGALRM, expired)
    signal.signal(signal.SIGTERM, ended)
    signal.signal(signal.SIGHUP, ended)
    signal.alarm(args.timeout)
    logs = args.logs or os.environ.get("TMPDIR", "/tmp")
    procs = Processes(logs)
    rep = Report(args.verbose)
    try:
        prog, desk, wid, main_window = open_session(procs, args.program, logs)
        checker = Checker(rep, prog, desk, wid)
        checker.main = main_window
        checker.run()
        if rep.verbose:
            print("events received: " + ", ".join(sorted({e[0] for e in prog.events})))
        rep.check(prog.process.poll() is None, "the program is still running at the end",
                  "it ended with %s:\n%s" % (prog.process.returncode, procs.log("tovimar")))
    except Timeout:
        rep.check(False, "the checks ended within %d s" % args.timeout, "gave up")
    except RuntimeError as e:
        rep.check(False, "the session started", str(e))
    finally:
        signal.alarm(0)
        procs.stop()
    print("a11y-check: %d passed, %d failed" % (rep.passed, rep.failed))
    return 0 if rep.failed == 0 and rep.passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
