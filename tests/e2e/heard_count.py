# SPDX-License-Identifier: MIT
"""heard_count.py PID SECONDS: each count of program PID a screen reader hears."""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def heard(node):
    for child in (node.get_child_at_index(i) for i in range(node.get_child_count())):
        text = child.get_description() or heard(child)
        if text:
            return text
    return ""


pid, end, last = int(sys.argv[1]), time.monotonic() + float(sys.argv[2]), ""
while time.monotonic() < end:
    desktop = Atspi.get_desktop(0)
    apps = (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
    text = next((heard(a) for a in apps if a.get_process_id() == pid), "")
    if text and text != last:
        print(text, flush=True)
        last = text
    time.sleep(0.05)
