"""When the X server creates and maps windows, read from its events (libX11 through ctypes).

A program's start-up is timed from the outside, as the user sees it: from its launch to the
moment both its windows are mapped on the X server, and from its first window's creation (its
own code running) to the same moment.
"""
import ctypes
import ctypes.util
import os
import select
import time

_CREATE_NOTIFY = 16
_MAP_NOTIFY = 19
_SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class _Event(ctypes.Structure):
    # The leading fields that CreateNotify and MapNotify share (XCreateWindowEvent and XMapEvent):
    # type, serial, send_event, display, the parent (or event window), the window.
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("parent", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("pad", ctypes.c_long * 24)]


class WindowWatch:
    """Watches the root window for windows created and mapped, from the moment it is made."""

    def __init__(self):
        self.x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(_Event)]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(os.environ.get("DISPLAY", "").encode())
        if not self.display:
            raise RuntimeError("cannot open the X display")
        self.x.XSelectInput(self.display, self.x.XDefaultRootWindow(self.display), _SUBSTRUCTURE_NOTIFY_MASK)
        self.fd = self.x.XConnectionNumber(self.display)
        self.x.XSync(self.display, 0)

    def _name(self, window):
        name = ctypes.c_char_p()
        if not self.x.XFetchName(self.display, window, ctypes.byref(name)) or not name.value:
            return ""
        text = name.value.decode("utf-8", "replace")
        self.x.XFree(name)
        return text

    def _events(self, timeout):
        """The events that arrive within timeout seconds, each with the time it was read."""
        event = _Event()
        if not self.x.XPending(self.display):
            ready, _, _ = select.select([self.fd], [], [], max(0.0, timeout))
            if not ready:
                return
        while self.x.XPending(self.display):
            self.x.XNextEvent(self.display, ctypes.byref(event))
            yield event.type, event.window, time.monotonic()

    def drain(self):
        """Forgets what happened before now."""
        for _ in self._events(0):
            pass

    def until_mapped(self, titles, since, timeout=30):
        """Waits until a window of each title is mapped. Returns the seconds from `since` to the
        first window created after it and to the last of the titles mapped; None on time-out."""
        first_created = None
        waiting = set(titles)
        deadline = time.monotonic() + timeout
        while waiting and time.monotonic() < deadline:
            for kind, window, at in self._events(deadline - time.monotonic()):
                if kind == _CREATE_NOTIFY and first_created is None:
                    first_created = at
                elif kind == _MAP_NOTIFY:
                    waiting.discard(self._name(window))
                    if not waiting:
                        return (first_created or at) - since, at - since
        return None
