#!/usr/bin/env python3
# Prints, one line each, the accessibility events a screen reader would hear from the programs on the
# desktop: "event<TAB>role<TAB>name<TAB>data<TAB>detail<TAB>text<TAB>description". Says "ready" once listening; exits 77 when the
# accessibility bus or its Python binding is missing.
import sys

try:
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
except (ImportError, ValueError) as e:
    print("no AT-SPI binding:", e, flush=True)
    sys.exit(77)

EVENTS = [
    "object:text-changed:insert",
    "object:text-changed:delete",
    "object:property-change:accessible-name",
    "object:property-change:accessible-description",
    "object:property-change:accessible-value",
    "object:state-changed:focused",
    "object:state-changed:showing",
    "object:value-changed",
    "object:announcement",
    "window:activate",
]


def text_of(accessible):
    try:
        t = accessible.get_text_iface()
        if t is not None:
            return t.get_text(0, -1)
    except Exception:
        pass
    return ""


def on_event(event):
    try:
        source = event.source
        role = source.get_role_name() if source else ""
        name = source.get_name() if source else ""
        data = event.any_data
        if data is not None and not isinstance(data, (str, int, float)):
            data = ""
        description = source.get_description() if source else ""
        line = "\t".join([event.type, role, name or "", str(data if data is not None else ""),
                          str(event.detail1), text_of(source) if source else "", description or ""])
        print(line.replace("\n", "\\n"), flush=True)
    except Exception as e:  # a window gone meanwhile
        print("error\t" + str(e), flush=True)


listener = Atspi.EventListener.new(on_event)
for name in EVENTS:
    if not listener.register(name):
        print("cannot listen to", name, flush=True)
        sys.exit(77)
print("ready", flush=True)
GLib.timeout_add_seconds(int(sys.argv[1]) if len(sys.argv) > 1 else 120, lambda: sys.exit(0))
Atspi.event_main()
