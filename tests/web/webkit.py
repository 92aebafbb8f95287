#!/usr/bin/python3
"""WebKit (WebKitGTK under the test display, the engine of Safari, WebViewScreenSaver and Hidamari)
loads the page from file:// and draws notes: the draws of each animation frame are counted by a
script that runs before the page's own, and snapshots of the view are judged by their colour.
Fails on a console error or warning or an uncaught error, which the same script collects.
    webkit.py <skyfold.html>"""
import json
import pathlib
import sys

import gi
gi.require_version('Gtk', '3.0')
gi.require_version('WebKit2', '4.1')
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

DEFAULT_NOTES = 200
COLOURED_SHARE = 0.005      # of the pixels, strongly coloured: notes, not a dark or failed view
TIMEOUT_SECONDS = 60

# Counts drawArrays per animation-frame callback, as the Chromium and Firefox tests do, and keeps
# the console's errors and warnings and uncaught errors.
DRAW_PROBE = """
(() => {
    const probe = window.skyfoldProbe = { draws: 0, lastFrameDraws: 0, problems: [] };
    for (const level of ['error', 'warn']) {
        const original = console[level];
        console[level] = (...args) => {
            probe.problems.push(`console ${level}: ${args.join(' ')}`);
            original.apply(console, args);
        };
    }
    window.addEventListener('error', event => probe.problems.push(`error: ${event.message}`));
    const drawArrays = WebGLRenderingContext.prototype.drawArrays;
    WebGLRenderingContext.prototype.drawArrays = function (...args) {
        probe.draws++;
        return drawArrays.apply(this, args);
    };
    const requestFrame = window.requestAnimationFrame.bind(window);
    window.requestAnimationFrame = callback => requestFrame(time => {
        const before = probe.draws;
        callback(time);
        if (probe.draws > before) probe.lastFrameDraws = probe.draws - before;
    });
})();
"""

state = {'failure': 'timed out before notes were drawn', 'notes': 0}


def finish(failure):
    state['failure'] = failure
    Gtk.main_quit()


def coloured_share(surface):
    """Share of the snapshot's pixels whose brightest and darkest channels differ by over a fifth."""
    import numpy
    height, stride = surface.get_height(), surface.get_stride()
    pixels = numpy.frombuffer(surface.get_data(), numpy.uint8).reshape(height, stride // 4, 4)
    channels = pixels[:, :surface.get_width(), :3].astype(numpy.int16)  # BGRA in memory
    spread = channels.max(axis=2) - channels.min(axis=2)
    return float((spread > 51).mean())


def on_snapshot(view, result):
    share = coloured_share(view.get_snapshot_finish(result))
    if state['notes'] == DEFAULT_NOTES and share > COLOURED_SHARE:
        finish(None)
    else:
        GLib.idle_add(poll, view)


def on_draws(view, result):
    probe = json.loads(view.evaluate_javascript_finish(result).to_string())
    state['notes'] = probe['lastFrameDraws'] // 2  # each note two draws, the banner one
    if probe['problems']:
        finish('; '.join(probe['problems']))
    elif state['notes'] not in (0, DEFAULT_NOTES):
        finish(f'{state["notes"]} notes drawn, not {DEFAULT_NOTES}')
        return
    view.get_snapshot(WebKit2.SnapshotRegion.VISIBLE, WebKit2.SnapshotOptions.NONE, None,
                      on_snapshot)


def poll(view):
    view.evaluate_javascript('JSON.stringify(window.skyfoldProbe)', -1, None, None, None, on_draws)
    return False


def main():
    page = pathlib.Path(sys.argv[1]).resolve()
    window = Gtk.Window()
    window.set_default_size(800, 450)
    content = WebKit2.UserContentManager()
    content.add_script(WebKit2.UserScript(
        DRAW_PROBE, WebKit2.UserContentInjectedFrames.TOP_FRAME,
        WebKit2.UserScriptInjectionTime.START, None, None))
    view = WebKit2.WebView.new_with_user_content_manager(content)
    settings = view.get_settings()
    settings.set_enable_webgl(True)
    settings.set_hardware_acceleration_policy(WebKit2.HardwareAccelerationPolicy.ALWAYS)
    settings.set_enable_write_console_messages_to_stdout(True)
    window.add(view)
    window.show_all()
    view.connect('load-changed',
                 lambda v, event: event == WebKit2.LoadEvent.FINISHED and GLib.idle_add(poll, v))
    view.connect('web-process-terminated', lambda v, reason: finish(f'web process ended: {reason}'))
    GLib.timeout_add_seconds(TIMEOUT_SECONDS, lambda: finish(state['failure']))
    view.load_uri(page.as_uri())
    Gtk.main()
    if state['failure']:
        print(f'FAIL: WebKit: {state["failure"]}', file=sys.stderr)
        return 1
    print('webkit: ok')
    return 0


if __name__ == '__main__':
    sys.exit(main())
