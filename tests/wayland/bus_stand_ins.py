"""What the idle watcher's tests put on D-Bus:
  hold FOLDER SECONDS uninhibit|exit   a player: org.freedesktop.ScreenSaver.Inhibit on the session
      bus, FOLDER/held once it has its cookie; after SECONDS it calls UnInhibit, makes
      FOLDER/released and stays until killed, or it leaves the bus (exits) with its request held
  logind FOLDER SECONDS                logind's manager on the system bus (a private one), its
      BlockInhibited empty; at SIGUSR1 it holds "idle" for SECONDS (FOLDER/blocked, then
      FOLDER/unblocked), announcing each change as logind may, by the property's name alone
  desktop FOLDER SECONDS plasma|gnome  the desktop that owns org.freedesktop.ScreenSaver on the
      session bus and keeps its requests: KDE Plasma's power manager (HasInhibition of
      ChangeScreenSettings, InhibitionsChanged) or GNOME's session manager (InhibitedActions with
      the idle flag); it holds from its start (FOLDER/held) for SECONDS (FOLDER/released)
  keyboard FOLDER                      a keyboard on GNOME's mutter, through its remote desktop
      service: FOLDER/keyboard once it is there, and a key at each SIGUSR1"""
import os
import signal
import sys
import time

from gi.repository import Gio, GLib

MANAGER_XML = """<node><interface name='org.freedesktop.login1.Manager'>
<property name='BlockInhibited' type='s' access='read'/></interface></node>"""
PLASMA = "org.kde.Solid.PowerManagement.PolicyAgent"
PLASMA_XML = """<node><interface name='%s'>
<method name='HasInhibition'><arg type='u' direction='in'/><arg type='b' direction='out'/></method>
<signal name='InhibitionsChanged'><arg type='a(ss)'/><arg type='as'/></signal>
</interface></node>""" % PLASMA
GNOME = "org.gnome.SessionManager"
GNOME_XML = """<node><interface name='%s'>
<property name='InhibitedActions' type='u' access='read'/></interface></node>""" % GNOME
CHANGE_SCREEN_SETTINGS = 4
INHIBIT_IDLE = 8
REMOTE_DESKTOP = "org.gnome.Mutter.RemoteDesktop"
KEY_X = 0x78  # a keysym


def mark(folder, name):
    open(os.path.join(folder, name), "w").close()


def hold(folder, seconds, end):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    args = ("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
            "org.freedesktop.ScreenSaver")
    cookie = bus.call_sync(*args, "Inhibit", GLib.Variant("(ss)", ("test", "a video")),
                           GLib.VariantType("(u)"), 0, -1).unpack()[0]
    mark(folder, "held")
    time.sleep(seconds)
    if end == "exit":
        return
    bus.call_sync(*args, "UnInhibit", GLib.Variant("(u)", (cookie,)), None, 0, -1)
    mark(folder, "released")
    signal.pause()


def logind(folder, seconds):
    bus = Gio.bus_get_sync(Gio.BusType.SYSTEM)
    state = {"blocked": ""}
    path, interface = "/org/freedesktop/login1", "org.freedesktop.login1.Manager"

    def get_property(*_):
        return GLib.Variant("s", state["blocked"])

    def announce(blocked, name):  # by the property's name alone, which asks for a Get
        state["blocked"] = blocked
        bus.emit_signal(None, path, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                        GLib.Variant("(sa{sv}as)", (interface, {}, ["BlockInhibited"])))
        mark(folder, name)
        return GLib.SOURCE_REMOVE

    def block():
        announce("idle", "blocked")
        GLib.timeout_add_seconds(seconds, announce, "", "unblocked")
        return GLib.SOURCE_CONTINUE

    node = Gio.DBusNodeInfo.new_for_xml(MANAGER_XML)
    bus.register_object(path, node.interfaces[0], None, get_property, None)
    Gio.bus_own_name_on_connection(bus, "org.freedesktop.login1", 0,
                                   lambda *_: mark(folder, "logind"), None)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, block)
    GLib.MainLoop().run()


def desktop(folder, seconds, which):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    state = {"holds": True}
    plasma = which == "plasma"
    path = "/org/kde/Solid/PowerManagement/PolicyAgent" if plasma else "/org/gnome/SessionManager"

    def call(_bus, _sender, _path, _interface, _method, parameters, invocation):
        holds = state["holds"] and parameters.unpack()[0] & CHANGE_SCREEN_SETTINGS
        invocation.return_value(GLib.Variant("(b)", (bool(holds),)))

    def get_property(*_):
        return GLib.Variant("u", INHIBIT_IDLE if state["holds"] else 0)

    def release():
        state["holds"] = False
        if plasma:
            bus.emit_signal(None, path, PLASMA, "InhibitionsChanged",
                            GLib.Variant("(a(ss)as)", ([], ["a video"])))
        else:
            bus.emit_signal(None, path, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                            GLib.Variant("(sa{sv}as)",
                                         (GNOME, {"InhibitedActions": GLib.Variant("u", 0)}, [])))
        mark(folder, "released")
        return GLib.SOURCE_REMOVE

    node = Gio.DBusNodeInfo.new_for_xml(PLASMA_XML if plasma else GNOME_XML)
    bus.register_object(path, node.interfaces[0], call if plasma else None,
                        None if plasma else get_property, None)
    names = ["org.freedesktop.ScreenSaver", PLASMA if plasma else GNOME]
    for name in names:
        Gio.bus_own_name_on_connection(bus, name, 0, lambda _bus, owned: names.remove(owned) or (
            names or (mark(folder, "held"), GLib.timeout_add_seconds(seconds, release))), None)
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

    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, key)
    mark(folder, "keyboard")
    GLib.MainLoop().run()


if __name__ == "__main__":
    if sys.argv[1] == "hold":
        hold(sys.argv[2], int(sys.argv[3]), sys.argv[4])
    elif sys.argv[1] == "desktop":
        desktop(sys.argv[2], int(sys.argv[3]), sys.argv[4])
    elif sys.argv[1] == "keyboard":
        keyboard(sys.argv[2])
    else:
        logind(sys.argv[2], int(sys.argv[3]))
