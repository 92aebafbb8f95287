"""What the idle watcher's tests put on D-Bus. Where a hold ends, FOLDER/released (or unblocked)
says whether the watcher (its PID in FOLDER/watcher) started a saver while it held: "with saver"
or "without saver".
  hold FOLDER SECONDS uninhibit|exit   a player: org.freedesktop.ScreenSaver.Inhibit on the session
      bus, FOLDER/held once it has its cookie; after SECONDS it calls UnInhibit, makes
      FOLDER/released and stays until killed, or it leaves the bus (exits) with its request held
  flood FOLDER                         a caller that asks Inhibit until it is refused, then writes
      how many it got and the error to FOLDER/refused and leaves
  logind FOLDER SECONDS                logind on the system bus (a private one), with what GNOME
      Shell needs of it and of GDM to offer its lock screen (FOLDER/logind once there): the
      manager, its BlockInhibited empty; at SIGUSR1 it holds "idle" for SECONDS (FOLDER/blocked,
      then FOLDER/unblocked), announcing each change as logind may, by the property's name alone.
      Session c1 (also as logind's "auto" session), whose Lock emits the Lock signal, makes
      FOLDER/lock-asked and, unless FOLDER/silent exists, sets LockedHint 0.8 s later, first
      writing to FOLDER/confirmed whether the watcher still had its saver then. At SIGUSR2 the
      session locks by itself, or, when locked, logind unlocks it. At SIGHUP it emits
      PrepareForSleep(true) to the holders of its delay inhibitors, makes FOLDER/delay-released
      once each let go, then emits PrepareForSleep(false)
  desktop FOLDER SECONDS plasma|gnome  the desktop that owns org.freedesktop.ScreenSaver on the
      session bus and keeps its requests: KDE Plasma's power manager (HasInhibition of
      ChangeScreenSettings, InhibitionsChanged) or GNOME's session manager (IsInhibited with the
      idle flag, InhibitorAdded and InhibitorRemoved); it holds from the time it has both names
      (FOLDER/held) for SECONDS (FOLDER/released)
  keeper FOLDER                        a program that keeps org.freedesktop.ScreenSaver and tells
      no one its holds (as hypridle does): FOLDER/keeping once it has the name
  keyboard FOLDER                      a keyboard on GNOME's mutter, through its remote desktop
      service: FOLDER/keyboard once it is there, and a key at each SIGUSR1
  shield FOLDER                        follows GNOME Shell's lock screen: FOLDER/locked at each
      ActiveChanged(true) of org.gnome.ScreenSaver, and whenever one of the watcher's savers ends
      (looked for every 20 ms), FOLDER/saver-gone with what GetActive says right then"""
import os
import signal
import sys
import time

from gi.repository import Gio, GLib

LOGIND = "org.freedesktop.login1"
MANAGER = LOGIND + ".Manager"
SESSION = LOGIND + ".Session"
SESSION_PATHS = ("/org/freedesktop/login1/session/c1", "/org/freedesktop/login1/session/auto")
GDM = "org.gnome.DisplayManager"
# What the watcher asks of logind, and what GNOME Shell asks of logind and GDM before it offers its
# lock screen.
LOGIND_XML = """<node><interface name='%s'>
<method name='GetSession'><arg type='s' direction='in'/><arg type='o' direction='out'/></method>
<method name='ListSessions'><arg type='a(susso)' direction='out'/></method>
<method name='Inhibit'><arg type='s' direction='in'/><arg type='s' direction='in'/>
<arg type='s' direction='in'/><arg type='s' direction='in'/><arg type='h' direction='out'/></method>
<method name='CanSuspend'><arg type='s' direction='out'/></method>
<method name='CanRebootToBootLoaderMenu'><arg type='s' direction='out'/></method>
<signal name='PrepareForSleep'><arg type='b'/></signal>
<property name='BlockInhibited' type='s' access='read'/></interface>
<interface name='%s'><method name='Lock'/>
<method name='SetLockedHint'><arg type='b' direction='in'/></method>
<signal name='Lock'/><signal name='Unlock'/>
<property name='Id' type='s' access='read'/><property name='LockedHint' type='b' access='read'/>
<property name='Active' type='b' access='read'/><property name='Remote' type='b' access='read'/>
<property name='Class' type='s' access='read'/><property name='Type' type='s' access='read'/>
<property name='State' type='s' access='read'/></interface>
<interface name='%s'><property name='Display' type='(so)' access='read'/>
<property name='Sessions' type='a(so)' access='read'/></interface>
<interface name='%s'><method name='RegisterSession'><arg type='a{sv}' direction='in'/></method>
<method name='OpenReauthenticationChannel'><arg type='s' direction='in'/>
<arg type='s' direction='out'/></method><property name='Version' type='s' access='read'/>
</interface></node>""" % (MANAGER, SESSION, LOGIND + ".User", GDM + ".Manager")
CONFIRM_SECONDS = 0.8
SHIELD_LOOK_MILLISECONDS = 20
SCREEN_SAVER = ("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                "org.freedesktop.ScreenSaver")
PLASMA = "org.kde.Solid.PowerManagement.PolicyAgent"
PLASMA_XML = """<node><interface name='%s'>
<method name='HasInhibition'><arg type='u' direction='in'/><arg type='b' direction='out'/></method>
<signal name='InhibitionsChanged'><arg type='a(ss)'/><arg type='as'/></signal>
</interface></node>""" % PLASMA
GNOME = "org.gnome.SessionManager"
GNOME_XML = """<node><interface name='%s'>
<method name='IsInhibited'><arg type='u' direction='in'/><arg type='b' direction='out'/></method>
<signal name='InhibitorAdded'><arg type='o'/></signal>
<signal name='InhibitorRemoved'><arg type='o'/></signal></interface></node>""" % GNOME
CHANGE_SCREEN_SETTINGS = 4
INHIBIT_IDLE = 8
REMOTE_DESKTOP = "org.gnome.Mutter.RemoteDesktop"
KEY_X = 0x78  # keysyms
KEY_SHIFT = 0xffe1


def mark(folder, name, text=""):
    with open(os.path.join(folder, name), "w") as note:
        note.write(text)


def savers(folder):
    """The children of the watcher whose PID the test wrote (none before it is written)."""
    try:
        watcher = open(os.path.join(folder, "watcher")).read().strip()
        return set(open("/proc/%s/task/%s/children" % (watcher, watcher)).read().split())
    except FileNotFoundError:
        return set()


def mark_end(folder, name, before):
    """Notes whether the watcher has a saver that it did not have before."""
    mark(folder, name, "with saver" if savers(folder) - before else "without saver")


def hold(folder, seconds, end):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    cookie = bus.call_sync(*SCREEN_SAVER, "Inhibit", GLib.Variant("(ss)", ("test", "a video")),
                           GLib.VariantType("(u)"), 0, -1).unpack()[0]
    before = savers(folder)
    mark(folder, "held")
    time.sleep(seconds)
    mark_end(folder, "released", before)
    if end == "exit":
        return
    bus.call_sync(*SCREEN_SAVER, "UnInhibit", GLib.Variant("(u)", (cookie,)), None, 0, -1)
    signal.pause()


def flood(folder):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    for count in range(10000):
        try:
            bus.call_sync(*SCREEN_SAVER, "Inhibit", GLib.Variant("(ss)", ("test", "a loop")),
                          GLib.VariantType("(u)"), 0, -1)
        except GLib.Error as error:
            mark(folder, "refused", "%d %s" % (count, Gio.DBusError.get_remote_error(error)))
            return


def logind(folder, seconds):
    bus = Gio.bus_get_sync(Gio.BusType.SYSTEM)
    state = {"blocked": "", "locked": False, "delays": [], "sleeping": False, "savers": set(),
             "unanswered": []}
    manager_path = "/org/freedesktop/login1"
    session = ("c1", SESSION_PATHS[0])

    def changed(path, interface, name, value=None):  # by the name alone unless a value is given
        values, names = ({name: value}, []) if value is not None else ({}, [name])
        bus.emit_signal(None, path, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                        GLib.Variant("(sa{sv}as)", (interface, values, names)))

    def get_property(_bus, _sender, _path, _interface, name):
        values = {"BlockInhibited": ("s", state["blocked"]), "Id": ("s", "c1"),
                  "LockedHint": ("b", state["locked"]), "Active": ("b", True),
                  "Remote": ("b", False), "Class": ("s", "user"), "Type": ("s", "wayland"),
                  "State": ("s", "active"), "Display": ("(so)", session),
                  "Sessions": ("a(so)", [session]), "Version": ("s", "43.0")}
        return GLib.Variant(*values[name])

    def set_locked(locked):
        state["locked"] = locked
        changed(SESSION_PATHS[0], SESSION, "LockedHint", GLib.Variant("b", locked))
        return GLib.SOURCE_REMOVE

    def confirm():
        mark(folder, "confirmed", "with saver" if savers(folder) else "without saver")
        return set_locked(True)

    def on_delay_released(_fd, _condition, delay):
        os.close(delay)
        state["delays"].remove(delay)
        if not state["delays"] and state["sleeping"]:
            state["sleeping"] = False
            mark(folder, "delay-released", "locked" if state["locked"] else "unlocked")
            bus.emit_signal(None, manager_path, MANAGER, "PrepareForSleep",
                            GLib.Variant("(b)", (False,)))
        return GLib.SOURCE_REMOVE

    def inhibit(invocation):
        read_end, write_end = os.pipe()
        state["delays"].append(write_end)
        GLib.unix_fd_add_full(GLib.PRIORITY_DEFAULT, write_end, GLib.IOCondition.ERR,
                              on_delay_released, write_end)
        descriptors = Gio.UnixFDList.new()
        descriptors.append(read_end)
        os.close(read_end)
        invocation.return_value_with_unix_fd_list(GLib.Variant("(h)", (0,)), descriptors)

    def lock(invocation):  # the lockers hear it; the test's one confirms unless told not to
        bus.emit_signal(None, SESSION_PATHS[0], SESSION, "Lock", None)
        mark(folder, "lock-asked")
        if not os.path.exists(os.path.join(folder, "silent")):
            GLib.timeout_add(int(CONFIRM_SECONDS * 1000), confirm)
        invocation.return_value(None)

    def call(_bus, _sender, _path, _interface, method, parameters, invocation):
        if method == "GetSession":
            invocation.return_value(GLib.Variant("(o)", (session[1],)))
        elif method == "ListSessions":
            sessions = [(session[0], os.getuid(), "test", "seat0", session[1])]
            invocation.return_value(GLib.Variant("(a(susso))", (sessions,)))
        elif method.startswith("Can"):
            invocation.return_value(GLib.Variant("(s)", ("na",)))
        elif method == "Inhibit":
            inhibit(invocation)
        elif method == "Lock":
            lock(invocation)
        elif method == "SetLockedHint":
            set_locked(parameters.unpack()[0])
            invocation.return_value(None)
        elif method == "OpenReauthenticationChannel":
            # NOTE: never answered, so that the unlock dialog waits: an error makes GNOME Shell
            # ask again at once, dozens of times a second.
            state["unanswered"].append(invocation)
        else:
            invocation.return_value(None)

    def announce(blocked):
        if blocked:
            state["savers"] = savers(folder)
        else:
            mark_end(folder, "unblocked", state["savers"])
        state["blocked"] = blocked
        changed(manager_path, MANAGER, "BlockInhibited")
        if blocked:
            mark(folder, "blocked")
        return GLib.SOURCE_REMOVE

    def block():
        announce("idle")
        GLib.timeout_add_seconds(seconds, announce, "")
        return GLib.SOURCE_CONTINUE

    def lock_or_unlock():  # the session locks by itself, or logind unlocks it
        if state["locked"]:
            bus.emit_signal(None, SESSION_PATHS[0], SESSION, "Unlock", None)
        set_locked(not state["locked"])
        return GLib.SOURCE_CONTINUE

    def sleep():
        state["sleeping"] = True
        bus.emit_signal(None, manager_path, MANAGER, "PrepareForSleep",
                        GLib.Variant("(b)", (True,)))
        return GLib.SOURCE_CONTINUE

    interfaces = Gio.DBusNodeInfo.new_for_xml(LOGIND_XML).interfaces
    objects = [(manager_path, 0), (SESSION_PATHS[0], 1), (SESSION_PATHS[1], 1),
               ("/org/freedesktop/login1/user/self", 2), ("/org/gnome/DisplayManager/Manager", 3)]
    for path, interface in objects:
        bus.register_object(path, interfaces[interface], call, get_property, None)
    own_all(bus, [LOGIND, GDM], lambda: mark(folder, "logind"))
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, block)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR2, lock_or_unlock)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGHUP, sleep)
    GLib.MainLoop().run()


def own_all(bus, names, then):
    """Calls then once the bus has given every name."""
    waiting = list(names)

    def acquired(_bus, name):
        waiting.remove(name)
        if not waiting:
            then()

    for name in names:
        Gio.bus_own_name_on_connection(bus, name, 0, acquired, None)


def desktop(folder, seconds, which):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    state = {"holds": True, "savers": set()}
    plasma = which == "plasma"
    path = "/org/kde/Solid/PowerManagement/PolicyAgent" if plasma else "/org/gnome/SessionManager"

    def call(_bus, _sender, _path, _interface, _method, parameters, invocation):
        asked = CHANGE_SCREEN_SETTINGS if plasma else INHIBIT_IDLE
        holds = state["holds"] and parameters.unpack()[0] & asked
        invocation.return_value(GLib.Variant("(b)", (bool(holds),)))

    def release():
        mark_end(folder, "released", state["savers"])
        state["holds"] = False
        if plasma:
            bus.emit_signal(None, path, PLASMA, "InhibitionsChanged",
                            GLib.Variant("(a(ss)as)", ([], ["a video"])))
        else:
            bus.emit_signal(None, path, GNOME, "InhibitorRemoved",
                            GLib.Variant("(o)", ("/org/gnome/SessionManager/Inhibitor1",)))
        return GLib.SOURCE_REMOVE

    def held():
        state["savers"] = savers(folder)
        mark(folder, "held")
        GLib.timeout_add_seconds(seconds, release)

    node = Gio.DBusNodeInfo.new_for_xml(PLASMA_XML if plasma else GNOME_XML)
    bus.register_object(path, node.interfaces[0], call, None, None)
    own_all(bus, [SCREEN_SAVER[0], PLASMA if plasma else GNOME], held)
    GLib.MainLoop().run()


def keeper(folder):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    own_all(bus, [SCREEN_SAVER[0]], lambda: mark(folder, "keeping"))
    GLib.MainLoop().run()


def keyboard(folder):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    session = bus.call_sync(REMOTE_DESKTOP, "/org/gnome/Mutter/RemoteDesktop", REMOTE_DESKTOP,
                            "CreateSession", None, GLib.VariantType("(o)"), 0, -1).unpack()[0]
    bus.call_sync(REMOTE_DESKTOP, session, REMOTE_DESKTOP + ".Session", "Start", None, None, 0,
                  -1)

    def key():
        for pressed in (True, False):
            bus.call_sync(REMOTE_DESKTOP, session, REMOTE_DESKTOP + ".Session",
                          "NotifyKeyboardKeysym", GLib.Variant("(ub)", (KEY_X, pressed)), None,
                          0, -1)
        return GLib.SOURCE_CONTINUE

    # NOTE: mutter makes the session's keyboard at its first event, which then reaches no window.
    for pressed in (True, False):
        bus.call_sync(REMOTE_DESKTOP, session, REMOTE_DESKTOP + ".Session",
                      "NotifyKeyboardKeysym", GLib.Variant("(ub)", (KEY_SHIFT, pressed)), None,
                      0, -1)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, key)
    mark(folder, "keyboard")
    GLib.MainLoop().run()


def shield(folder):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    screen_saver = ("org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver")
    shown = {"savers": set()}

    def active_changed(_bus, _sender, _path, _interface, _signal, parameters):
        if parameters.unpack()[0]:
            mark(folder, "locked")

    def look():
        now = savers(folder)
        if shown["savers"] - now:
            active = bus.call_sync(*screen_saver, "GetActive", None, GLib.VariantType("(b)"), 0,
                                   -1).unpack()[0]
            mark(folder, "saver-gone", "true" if active else "false")
        shown["savers"] = now
        return GLib.SOURCE_CONTINUE

    bus.signal_subscribe(screen_saver[0], screen_saver[2], "ActiveChanged", screen_saver[1], None,
                         0, active_changed)
    GLib.timeout_add(SHIELD_LOOK_MILLISECONDS, look)
    mark(folder, "shield")
    GLib.MainLoop().run()


if __name__ == "__main__":
    role, folder, rest = sys.argv[1], sys.argv[2], sys.argv[3:]
    if role == "hold":
        hold(folder, int(rest[0]), rest[1])
    elif role == "desktop":
        desktop(folder, int(rest[0]), rest[1])
    elif role == "logind":
        logind(folder, int(rest[0]))
    else:
        {"flood": flood, "keeper": keeper, "keyboard": keyboard, "shield": shield}[role](folder)
