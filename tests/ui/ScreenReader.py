#!/usr/bin/python3
"""Walks the calculator as a screen reader does: through the accessibility bus (AT-SPI).

Starts a private X server, a private session bus and its accessibility bus, then the calculator,
and completes the whole calculation by accessible actions alone: every control a user can reach
must carry a Russian name and the right role; the page shown is read after each step, and
Next and Back announce the page they show as a screen reader hears it (a focus event); the
result, the class table and the preview are read from the tree. Everything it started is
stopped when it ends, also when a check fails.

Usage: ScreenReader.py <tarifon executable>
"""

import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

CYRILLIC = re.compile("[А-Яа-яЁё]")
# Roles a user can act on, and the roles each may have.
ACTIONABLE = {"push button", "radio button", "combo box", "check box", "toggle button", "menu item",
              "page tab", "list item", "table cell", "text", "spin button", "link", "document frame"}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Session:
    """Xvfb, a session bus and the accessibility bus, each in a process group of its own."""

    def __init__(self, home):
        self.processes = []
        self.env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=home, XDG_CONFIG_HOME=home + "/config",
                        XDG_CACHE_HOME=home + "/cache", XDG_DATA_HOME=home + "/data", NO_AT_BRIDGE="0")
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.env.pop("AT_SPI_BUS_ADDRESS", None)

    def spawn(self, args, **kw):
        p = subprocess.Popen(args, env=self.env, start_new_session=True, **kw)
        self.processes.append(p)
        return p

    def start(self):
        # The buses' own children come back to us when their parents go, so none is left over.
        PR_SET_CHILD_SUBREAPER = 36
        ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
        r, w = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(w), "-nolisten", "tcp", "-screen", "0", "1280x1024x24"],
                   pass_fds=(w,), stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            display = f.readline().strip()
        check(display.isdigit(), "Xvfb named no display")
        wait_for("the X server's socket", lambda: os.path.exists("/tmp/.X11-unix/X" + display), 10)
        self.env["DISPLAY"] = ":" + display
        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        address = bus.stdout.readline().strip()
        check(address, "the session bus does not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        # The accessibility bus is started by the session bus when it is first asked for, as on
        # a desktop; its launcher and registry run in the session bus's process group.
        os.environ.update({k: self.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})

    def give_focus(self, title):
        """What a desktop's window manager does for a window it maps: the keyboard focus."""
        found = subprocess.run(["xwininfo", "-name", title], env=self.env, capture_output=True, text=True)
        window = re.search(r"Window id: (0x[0-9a-f]+)", found.stdout)
        check(window, "no X window named %r: %s" % (title, found.stderr.strip()))
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        display = x11.XOpenDisplay(self.env["DISPLAY"].encode())
        check(display, "cannot open the X display")
        REVERT_TO_PARENT, CURRENT_TIME = 2, 0
        x11.XSetInputFocus(ctypes.c_void_p(display), ctypes.c_ulong(int(window.group(1), 16)),
                           REVERT_TO_PARENT, ctypes.c_ulong(CURRENT_TIME))
        x11.XCloseDisplay(ctypes.c_void_p(display))

    def stop(self):
        for p in reversed(self.processes):
            try:
                os.killpg(p.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 5
        for p in self.processes:
            try:
                p.wait(max(0.1, deadline - time.monotonic()))
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()
        # Children of the buses, orphaned by their parents' end.
        while time.monotonic() < deadline:
            try:
                pid, _ = os.waitpid(-1, os.WNOHANG)
            except ChildProcessError:
                break
            if pid == 0:
                time.sleep(0.05)


# The main loop that hands the bus's announcements to their listener, once it is set up.
MAIN_CONTEXT = None


def wait_for(what, probe, timeout=20):
    deadline = time.monotonic() + timeout
    while True:
        while MAIN_CONTEXT is not None and MAIN_CONTEXT.iteration(False):
            pass
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


class Announcements:
    """What a screen reader is told without asking: focus moves and renamed objects."""

    KINDS = ("focus:", "object:state-changed:focused", "object:property-change:accessible-name")

    def __init__(self, Atspi):
        self.heard = []
        self.listener = Atspi.EventListener.new(self.hear)
        for kind in self.KINDS:
            self.listener.register(kind)

    def hear(self, event):
        if event.type.startswith("object:state-changed") and not event.detail1:
            return  # focus leaving
        try:
            self.heard.append((event.type, event.source.get_role_name(), event.source.get_name() or ""))
        except Exception:  # an object gone before it was read
            pass

    def naming(self, role, name):
        return [h for h in self.heard if h[1] == role and h[2] == name]


class Reader:
    def __init__(self, Atspi):
        self.Atspi = Atspi

    def role(self, o):
        return o.get_role_name()

    def states(self, o):
        s = o.get_state_set()
        return {name for name in ("showing", "visible", "focusable", "focused", "checked", "selected",
                                  "enabled", "sensitive", "selectable", "active")
                if s.contains(getattr(self.Atspi.StateType, name.upper()))}

    def children(self, o):
        return [c for c in (o.get_child_at_index(i) for i in range(o.get_child_count())) if c]

    def walk(self, o, showing_only=True):
        for c in self.children(o):
            if showing_only and "showing" not in self.states(c):
                continue
            yield c
            yield from self.walk(c, showing_only)

    def text(self, o):
        t = o.get_text_iface() if hasattr(o, "get_text_iface") else None
        if t:
            return t.get_text(0, t.get_character_count())
        return ""

    def find(self, root, role, name=None, showing_only=True):
        for o in self.walk(root, showing_only):
            if self.role(o) == role and (name is None or (o.get_name() or "").strip() == name):
                return o
        return None

    def act(self, o, *names):
        offered = [o.get_action_name(i) for i in range(o.get_n_actions())]
        for i, n in enumerate(offered):
            if n.lower() in names:
                o.do_action(i)
                return
        raise Failure("%s %r offers %s, not %s" % (self.role(o), o.get_name(), offered, names))


def audit(reader, root, where):
    """Every object a user can reach carries a Russian name and an actionable role."""
    problems = []
    for o in reader.walk(root):
        states = reader.states(o)
        role = reader.role(o)
        if "focusable" not in states or "enabled" not in states:
            continue
        name = o.get_name() or ""
        if role not in ACTIONABLE:
            problems.append("%s: focusable %s %r" % (where, role, name))
        elif role == "combo box" and not CYRILLIC.search(name + (o.get_description() or "")):
            # The toolkit names a combo box by its value here; its subject is the description.
            problems.append("%s: combo box %r with no Russian description" % (where, name))
        elif role not in ("text", "list item", "combo box") and not CYRILLIC.search(name):
            problems.append("%s: %s without a Russian name (%r)" % (where, role, name))
    check(not problems, "\n".join(problems))


def main():
    tarifon = sys.argv[1]
    home = tempfile.mkdtemp(prefix="tarifon-a11y-")
    session = Session(home)
    try:
        session.start()
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        from gi.repository import GLib
        Atspi.init()
        reader = Reader(Atspi)
        global MAIN_CONTEXT
        MAIN_CONTEXT = GLib.MainContext.default()
        announcements = Announcements(Atspi)
        env = dict(session.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_ACCESSIBILITY="1", LC_ALL="ru_RU.UTF-8")
        app_process = subprocess.Popen([tarifon], env=env, start_new_session=True)
        session.processes.append(app_process)

        def frame():
            desktop = Atspi.get_desktop(0)
            for app in reader.children(desktop):
                if app.get_name() == "tarifon":
                    return reader.find(app, "frame")
            return None

        window = wait_for("the calculator's window in the tree", frame)
        check(window.get_name() == "Квиралт:  -= Тарифон 2.0 =-", "window named %r" % window.get_name())

        def focus_window():
            """No window manager runs here: the calculator gets the focus as on a desktop, when
            it appears and when a window it opened has closed."""
            session.give_focus(window.get_name())
            wait_for("the window to take the focus", lambda: "active" in reader.states(window), 10)

        focus_window()

        def page():
            """The wizard page shown: its title and subtitle."""
            def one():
                pages = [o for o in reader.walk(window) if reader.role(o) == "page tab"]
                return pages[0] if len(pages) == 1 else None
            shown = wait_for("one page shown", one, 10)
            return shown.get_name(), shown.get_description()

        def route_map():
            lst = reader.find(window, "list")
            check(lst is not None, "no route map list")
            items = reader.children(lst)
            check(items and all(reader.role(i) == "list item" for i in items), "route map items")
            current = [i.get_name() for i in items if "selected" in reader.states(i)]
            return [i.get_name() for i in items], current

        def button(name):
            b = wait_for("button " + name, lambda: reader.find(window, "push button", name))
            return b

        def next_page(expected_title):
            announcements.heard.clear()
            reader.act(button("Далее"), "press")
            wait_for("page " + expected_title, lambda: page()[0] == expected_title, 10)
            # A screen reader follows Next by what it is told: the new page takes the focus.
            wait_for("the focus on page %s announced" % expected_title,
                     lambda: announcements.naming("page tab", expected_title), 10)
            audit(reader, window, expected_title)
            names, current = route_map()
            check(current == [expected_title], "route map marks %r on %s" % (current, expected_title))
            return names

        def choose(name):
            rb = wait_for("option " + name, lambda: reader.find(window, "radio button", name))
            reader.act(rb, "toggle", "check", "press")
            wait_for(name + " checked", lambda: "checked" in reader.states(rb), 5)

        title, subtitle = page()
        check((title, subtitle) == ("Приветствие", "Вас приветствуем Мастер \"Калькулятор ОСАГО\""),
              "welcome page read as %r / %r" % (title, subtitle))
        audit(reader, window, title)
        hidden = {b.get_name() for b in reader.walk(window, showing_only=False)
                  if reader.role(b) == "push button"}
        check(not [n for n in hidden if not CYRILLIC.search(n or "")],
              "buttons named outside Russian: %s" % sorted(hidden))

        names = next_page("Собственник")
        check("КВС - Водители" in names, "route map lists %s" % names)
        owner = reader.find(window, "radio button", "Физическое лицо или предприниматель без "
                                                     "образования юридического лица")
        check(owner is not None and "checked" in reader.states(owner), "the default owner is not read as checked")
        choose("Юридическое лицо")
        check("checked" not in reader.states(owner), "two owners checked")
        russia = reader.find(window, "radio button", "Россия")
        check(russia is not None and "checked" in reader.states(russia), "Россия not read as checked")

        next_page("ТБ - Тип АМТС")
        choose("Грузовые автомобили с разрешенной максимальной массой 16 тонн и менее")
        next_page("КТ - Место жительства")
        choose("Город Москва")
        next_page("КБМ - Класс страхователя")
        choose("Класс 3")

        # The class table: a table of cells, closed again by its button.
        reader.act(button("Определите Ваш класс согласно таблицы ..."), "press")

        def class_window():
            for app in reader.children(Atspi.get_desktop(0)):
                if app.get_name() == "tarifon":
                    for w in reader.children(app):
                        if w.get_name() == "Класс страхователя":
                            return w
            return None

        table_window = wait_for("the class table window", class_window)
        table = wait_for("the class table", lambda: reader.find(table_window, "table"))
        check(table.get_n_rows() == 15 and table.get_n_columns() == 7,
              "class table of %d x %d" % (table.get_n_rows(), table.get_n_columns()))
        for row, column, text in ((14, 6, "М"), (4, 1, "1.00"), (4, 2, "4")):
            cell = table.get_accessible_at(row, column)
            check(cell.get_name() == text and reader.role(cell) == "table cell",
                  "cell %d, %d reads %s %r" % (row, column, reader.role(cell), cell.get_name()))
        header = table.get_column_header(2)
        check(header is not None and header.get_name() == "0 страх. выплат", "payout column header")
        close = reader.find(table_window, "push button", "Закрыть")
        audit(reader, table_window, "Класс страхователя")
        reader.act(close, "press")
        wait_for("the class table to close", lambda: class_window() is None, 10)
        focus_window()

        names = next_page("КН - Дополнительно")
        check("КВС - Водители" not in names and "КМ - Мощность" not in names,
              "disabled pages still listed: %s" % names)
        next_page("Расчет")
        # Numbers are read as the regional settings write them; the thousands separator of the
        # Russian ones is a no-break space.
        labels = [o.get_name().replace("\xa0", " ") for o in reader.walk(window) if reader.role(o) == "label"]
        check("6 075 рублей" in labels, "premium not read; labels: %s" % labels)
        check("Т = ТБ*КТ*КБМ*КО*КН" in labels, "formula not read; labels: %s" % labels)

        # The preview of the sheet: a document, a named toolbar.
        reader.act(button("Распечатать"), "press")

        def preview_window():
            for app in reader.children(Atspi.get_desktop(0)):
                if app.get_name() == "tarifon":
                    for w in reader.children(app):
                        if w.get_name() == "Расчет стоимости ОСАГО":
                            return w
            return None

        preview = wait_for("the preview", preview_window)
        document = wait_for("the preview's page", lambda: reader.find(preview, "document frame"))
        check("Страница 1 из 1" in (document.get_description() or ""),
              "the preview's document reads %r" % document.get_description())
        audit(reader, preview, "preview")
        reader.act(reader.find(preview, "push button", "Отмена"), "press")
        wait_for("the preview to close", lambda: preview_window() is None, 10)
        focus_window()

        announcements.heard.clear()
        reader.act(button("Назад"), "press")
        wait_for("Back to КН", lambda: page()[0] == "КН - Дополнительно", 10)
        wait_for("the focus on КН announced after Back",
                 lambda: announcements.naming("page tab", "КН - Дополнительно"), 10)
        reader.act(button("Закрыть"), "press")
        check(app_process.wait(10) == 0, "the calculator did not end cleanly")
    except Failure as f:
        print("FAILED:", f, file=sys.stderr)
        return 1
    finally:
        session.stop()
        shutil.rmtree(home, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
