// The settings dialog on X11 and Wayland, in GTK 3: a borderless 495x298 window with rounded
// corners over the painted face, with the Windows dialog's controls at the same places and the same
// rules (shared in settings/config_dialog_rules.h and settings/note_count_scroll.h). OK saves
// through the store and closes; Cancel, Escape and the window manager's close leave the file alone.
#include "settings/unix/config_dialog.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/config_dialog_rules.h"
#include "settings/note_count_scroll.h"
#include "settings/unix/settings_store.h"

static struct {
    GtkWidget* window;
    cairo_region_t* outline;   // the window's rounded outline, in window pixels
    GtkAdjustment* noteCount;  // the slider's position
    bool thumbMoved;           // the slider's thumb has been dragged since it was pressed
    guint arrowRepeat;         // the timer that repeats a held arrow's step, or 0
    int arrowRequest;          // that arrow's scroll request
    bool dragging;             // X11: the background is held down, the window follows the pointer
    int pressX, pressY;        // root pixels of that press
    int startX, startY;        // the window's root position at that press
    int exitStatus;
} gDialog;

static const char kDialogTitle[] = "Skyfold Settings";
static const char kMessageTitle[] = "Skyfold";
static const char kDialogName[] = "skyfold-settings";  // the style sheet's scope
static const guint kPrimaryButton = 1;  // drags the window, steps the arrows
static const int kBytesPerTexel = 4;
static const int kFaceBitsPerSample = 8;
static const double kUnusedIncrement = 0;
static const double kNoPageSize = 0;  // the thumb reaches both ends of the range, as on Windows
static const int kArrowWidthPixels = 17;  // as Windows' scroll bar arrows at 96 dots an inch
static const guint kFirstRepeatMilliseconds = 200;  // a held arrow steps again after this
static const guint kRepeatMilliseconds = 50;        // and then this often
static const double kCornerRadiusPixels = kCornerEllipsePixels / 2.0;
// The Windows dialog's region is one pixel wider than the window (its right edge is then clipped),
// so its right-hand corners are cut one pixel shallower than its left-hand ones; so are these.
static const int kShapeWidthPixels = kDialogWidthPixels + 1;

// Theme metrics sized for labelled controls would not fit the template's small boxes: no
// padding, a small button font, a thumb as tall as the slider.
static const char kStyleSheet[] =
    "#skyfold-settings radiobutton { padding: 0; margin: 0; min-height: 0; min-width: 0; }\n"
    "#skyfold-settings radio { margin: 0; min-width: 12px; min-height: 12px; }\n"
    "#skyfold-settings button { padding: 0 4px; min-height: 0; min-width: 0; font-size: 8pt; }\n"
    "#skyfold-settings button.arrow { padding: 0; }\n"
    "#skyfold-settings scrollbar slider { min-width: 16px; min-height: 12px; }\n";

static void closeDialog() {
    gtk_widget_destroy(gDialog.window);
    cairo_region_destroy(gDialog.outline);
    gtk_main_quit();
}

static void runCommand(int id) {
    const DialogOutcome outcome = applyDialogCommand(id, saverSettings);
    if (outcome == DialogOutcome::SaveAndClose && !saveSettings()) gDialog.exitStatus = 1;
    if (outcome != DialogOutcome::KeepOpen) closeDialog();
}

void reportSettingsSaveFailure(const char* path, int error) {
    const char* reason = std::strerror(error);
    std::fprintf(stderr, "skyfold: cannot save the settings to %s: %s\n", path, reason);
    GtkWidget* message = gtk_message_dialog_new(
        GTK_WINDOW(gDialog.window), static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL),
        GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", reason);
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(message),
                                             "The settings could not be saved to %s.", path);
    gtk_window_set_title(GTK_WINDOW(message), kMessageTitle);
    gtk_dialog_run(GTK_DIALOG(message));
    gtk_widget_destroy(message);
}

// Signal handlers get the control's id as their data.
static gpointer idData(int id) {
    return GINT_TO_POINTER(id);
}

static void onButtonClicked(GtkButton*, gpointer id) {
    runCommand(GPOINTER_TO_INT(id));
}

// A radio button being checked is a click on it; the one it unchecks says nothing.
static void onRadioToggled(GtkToggleButton* button, gpointer id) {
    if (gtk_toggle_button_get_active(button)) runCommand(GPOINTER_TO_INT(id));
}

// The window's own handlers: keys, its close, and the background drag.

static gboolean onKeyPress(GtkWidget*, GdkEventKey* event, gpointer) {
    if (event->keyval != GDK_KEY_Escape) return FALSE;  // Enter is the OK button's, as default
    runCommand(kCancelButton);
    return TRUE;
}

static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer) {
    runCommand(kCancelButton);
    return TRUE;
}

// NOTE: Wayland has no window shapes, and no client may place its own window: there the corners
// are painted transparent and the compositor moves the window.
static bool onWayland() {
#ifdef GDK_WINDOWING_WAYLAND
    return GDK_IS_WAYLAND_DISPLAY(gdk_display_get_default());
#else
    return false;
#endif
}

// NOTE: a press on a control that the control leaves unhandled reaches the window too, but from
// the control's own event window; only the window's own surface is the background.
static gboolean onBackgroundPress(GtkWidget* window, GdkEventButton* event, gpointer) {
    if (event->type != GDK_BUTTON_PRESS || event->button != kPrimaryButton) return FALSE;
    if (event->window != gtk_widget_get_window(window)) return FALSE;
    if (onWayland()) {
        gtk_window_begin_move_drag(GTK_WINDOW(window), static_cast<gint>(event->button),
                                   static_cast<gint>(event->x_root),
                                   static_cast<gint>(event->y_root), event->time);
        return TRUE;
    }
    gDialog.dragging = true;
    gDialog.pressX = static_cast<int>(event->x_root);
    gDialog.pressY = static_cast<int>(event->y_root);
    gdk_window_get_root_origin(event->window, &gDialog.startX, &gDialog.startY);
    return TRUE;
}

// On X11 the window is moved by hand rather than by the window manager's move, which needs one.
static gboolean onBackgroundMotion(GtkWidget* window, GdkEventMotion* event, gpointer) {
    if (!gDialog.dragging) return FALSE;
    gtk_window_move(GTK_WINDOW(window),
                    gDialog.startX + static_cast<int>(event->x_root) - gDialog.pressX,
                    gDialog.startY + static_cast<int>(event->y_root) - gDialog.pressY);
    return TRUE;
}

static gboolean onBackgroundRelease(GtkWidget*, GdkEventButton* event, gpointer) {
    if (event->button != kPrimaryButton || !gDialog.dragging) return FALSE;
    gDialog.dragging = false;
    return TRUE;
}

// The slider's handlers, in the terms of the Windows scroll bar's requests.

struct ScrollTranslation {
    GtkScrollType scroll;
    int request;
};

static const int kUnknownScrollRequest = -1;  // clamps and repositions, changing nothing
static const ScrollTranslation kScrollTranslations[] = {
    {GTK_SCROLL_STEP_BACKWARD, kScrollLineLeft}, {GTK_SCROLL_STEP_LEFT, kScrollLineLeft},
    {GTK_SCROLL_STEP_FORWARD, kScrollLineRight}, {GTK_SCROLL_STEP_RIGHT, kScrollLineRight},
    {GTK_SCROLL_PAGE_BACKWARD, kScrollPageLeft}, {GTK_SCROLL_PAGE_LEFT, kScrollPageLeft},
    {GTK_SCROLL_PAGE_FORWARD, kScrollPageRight}, {GTK_SCROLL_PAGE_RIGHT, kScrollPageRight},
    {GTK_SCROLL_START, kScrollLeft},             {GTK_SCROLL_END, kScrollRight},
    {GTK_SCROLL_JUMP, kScrollThumbTrack},  // the thumb dragged, or moved to the pointer
};

static int scrollRequestOf(GtkScrollType scroll) {
    for (const ScrollTranslation& translation : kScrollTranslations) {
        if (translation.scroll == scroll) return translation.request;
    }
    return kUnknownScrollRequest;
}

static void scrollNoteCount(int request, uint16_t thumbPosition) {
    const ScrollOutcome outcome = handleNoteCountScroll(saverSettings.noteCount, kFewestNotes,
                                                        kMostNotes, request, thumbPosition);
    saverSettings.noteCount = outcome.value;
    if (outcome.reposition) gtk_adjustment_set_value(gDialog.noteCount, outcome.value);
}

// A dragged thumb moves on its own and counts only when it is let go (onSliderRelease).
static gboolean onSliderChange(GtkRange*, GtkScrollType scroll, gdouble, gpointer) {
    const int request = scrollRequestOf(scroll);
    if (request == kScrollThumbTrack) {
        gDialog.thumbMoved = true;
        return FALSE;
    }
    scrollNoteCount(request, 0);
    return TRUE;
}

static gboolean onSliderRelease(GtkWidget*, GdkEventButton*, gpointer) {
    if (!gDialog.thumbMoved) return FALSE;
    gDialog.thumbMoved = false;
    const long position = std::lround(gtk_adjustment_get_value(gDialog.noteCount));
    scrollNoteCount(kScrollThumbPosition, static_cast<uint16_t>(position));
    return FALSE;
}

// As over the Windows scroll bar, the wheel does nothing.
static gboolean onSliderWheel(GtkWidget*, GdkEvent*, gpointer) {
    return TRUE;
}

// NOTE: GTK's own scroll bar arrows glide while held and do not step, so the slider has arrow
// buttons of its own that step by one at the press and repeat while held, as Windows' do.
static gboolean repeatArrow(gpointer) {
    scrollNoteCount(gDialog.arrowRequest, 0);
    return G_SOURCE_CONTINUE;
}

static gboolean startRepeating(gpointer) {
    scrollNoteCount(gDialog.arrowRequest, 0);
    gDialog.arrowRepeat = g_timeout_add(kRepeatMilliseconds, repeatArrow, nullptr);
    return G_SOURCE_REMOVE;
}

static void stopRepeating() {
    if (gDialog.arrowRepeat) g_source_remove(gDialog.arrowRepeat);
    gDialog.arrowRepeat = 0;
}

static gboolean onArrowPress(GtkWidget*, GdkEventButton* event, gpointer request) {
    if (event->type != GDK_BUTTON_PRESS || event->button != kPrimaryButton) return FALSE;
    stopRepeating();
    gDialog.arrowRequest = GPOINTER_TO_INT(request);
    scrollNoteCount(gDialog.arrowRequest, 0);
    gDialog.arrowRepeat = g_timeout_add(kFirstRepeatMilliseconds, startRepeating, nullptr);
    return FALSE;  // the button still shows itself pressed
}

static gboolean onArrowRelease(GtkWidget*, GdkEventButton*, gpointer) {
    stopRepeating();
    return FALSE;
}

struct SignalRoute {
    const char* signal;
    GCallback handler;
};

static const SignalRoute kWindowRoutes[] = {
    {"key-press-event", G_CALLBACK(onKeyPress)},
    {"delete-event", G_CALLBACK(onDelete)},
    {"button-press-event", G_CALLBACK(onBackgroundPress)},
    {"motion-notify-event", G_CALLBACK(onBackgroundMotion)},
    {"button-release-event", G_CALLBACK(onBackgroundRelease)},
};

static const SignalRoute kSliderRoutes[] = {
    {"change-value", G_CALLBACK(onSliderChange)},
    {"button-release-event", G_CALLBACK(onSliderRelease)},
    {"scroll-event", G_CALLBACK(onSliderWheel)},
};

static const SignalRoute kArrowRoutes[] = {
    {"button-press-event", G_CALLBACK(onArrowPress)},
    {"button-release-event", G_CALLBACK(onArrowRelease)},
};

template <size_t N>
static void connectRoutes(GtkWidget* widget, const SignalRoute (&routes)[N], gpointer data) {
    for (const SignalRoute& route : routes) {
        g_signal_connect(widget, route.signal, route.handler, data);
    }
}

// Building the window.

static const DialogControl& controlOf(int id) {
    for (int i = 0; i < kDialogControlCount; ++i) {
        if (kDialogControls[i].id == id) return kDialogControls[i];
    }
    return kDialogControls[0];  // every id asked for is in the table
}

static void place(GtkFixed* face, GtkWidget* widget, int id) {
    const FaceBox box = faceBoxOf(controlOf(id));
    gtk_widget_set_size_request(widget, box.width, box.height);
    gtk_fixed_put(face, widget, box.left, box.top);
}

// The rounded outline, one span of pixels a row: a row's span starts where a pixel's centre is
// inside the corner circle.
static cairo_region_t* roundedOutline() {
    cairo_region_t* outline = cairo_region_create();
    for (int row = 0; row < kDialogHeightPixels; ++row) {
        const double centre = row + 0.5;
        const double fromEdge = std::fmin(centre, kDialogHeightPixels - centre);
        double inset = 0;
        if (fromEdge < kCornerRadiusPixels) {
            const double rise = kCornerRadiusPixels - fromEdge;
            inset = kCornerRadiusPixels -
                    std::sqrt(kCornerRadiusPixels * kCornerRadiusPixels - rise * rise);
        }
        const int left = static_cast<int>(std::ceil(inset - 0.5));
        const int right = std::min(kShapeWidthPixels - left, kDialogWidthPixels);
        const cairo_rectangle_int_t span = {left, row, right - left, 1};
        cairo_region_union_rectangle(outline, &span);
    }
    return outline;
}

// Wayland's drawing: transparent pixels outside the outline, the face and controls inside it (on
// the theme's background, which shows where a damaged face is clear).
static gboolean onDrawCutCorners(GtkWidget* window, cairo_t* cr, gpointer) {
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    gdk_cairo_region(cr, gDialog.outline);
    cairo_clip(cr);
    gtk_render_background(gtk_widget_get_style_context(window), cr, 0, 0,
                          gtk_widget_get_allocated_width(window),
                          gtk_widget_get_allocated_height(window));
    GTK_WIDGET_GET_CLASS(window)->draw(window, cr);
    return TRUE;  // drawn, inside the outline
}

// X11 cuts the corners away with the window's shape; on Wayland they are transparent pixels, which
// the compositor blends with the desktop, and the input region leaves presses there to it.
static void cutCorners(GtkWidget* window) {
    gDialog.outline = roundedOutline();
    if (!onWayland()) {
        gtk_widget_shape_combine_region(window, gDialog.outline);
        return;
    }
    gtk_widget_set_visual(window, gdk_screen_get_rgba_visual(gtk_widget_get_screen(window)));
    gtk_widget_set_app_paintable(window, TRUE);  // nor does GTK call the window opaque
    gtk_widget_input_shape_combine_region(window, gDialog.outline);
    g_signal_connect(window, "draw", G_CALLBACK(onDrawCutCorners), nullptr);
}

// NOTE: a Wayland compositor frames a window unless told that the window draws its own frame (sway
// gives a floating window a title bar and a border); GTK tells it so only for its own frames.
static void declineCompositorFrame(GtkWidget* window) {
#ifdef GDK_WINDOWING_WAYLAND
    if (!onWayland()) return;
    gtk_widget_realize(window);
    gdk_wayland_window_announce_csd(gtk_widget_get_window(window));
#else
    (void)window;
#endif
}

static GtkWidget* newFacePicture(const DialogFace& face) {
    GdkPixbuf* pixels = gdk_pixbuf_new_from_data(face.rgba, GDK_COLORSPACE_RGB, TRUE,
                                                 kFaceBitsPerSample, face.width, face.height,
                                                 face.width * kBytesPerTexel, nullptr, nullptr);
    GtkWidget* picture = gtk_image_new_from_pixbuf(pixels);
    g_object_unref(pixels);
    return picture;
}

static void addPushButton(GtkFixed* face, int id, const char* label) {
    GtkWidget* button = gtk_button_new_with_label(label);
    place(face, button, id);
    g_signal_connect(button, "clicked", G_CALLBACK(onButtonClicked), idData(id));
    if (id != kOkButton) return;
    gtk_widget_set_can_default(button, TRUE);
    gtk_window_set_default(GTK_WINDOW(gDialog.window), button);
    gtk_window_set_focus(GTK_WINDOW(gDialog.window), button);
}

// A GTK radio group always has one button checked, so each group has a first one that is never
// shown: it is checked while the stored value is outside the group.
static void addRadioGroup(GtkFixed* face, int firstButton, int buttons, int checkedButton) {
    GtkWidget* previous = gtk_radio_button_new(nullptr);
    g_object_ref_sink(previous);  // outside the window, it lives as long as the process
    for (int id = firstButton; id < firstButton + buttons; ++id) {
        GtkWidget* button = gtk_radio_button_new_from_widget(GTK_RADIO_BUTTON(previous));
        gtk_widget_set_can_focus(button, FALSE);  // as on Windows, only OK and Cancel take it
        place(face, button, id);
        if (id == checkedButton) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button), TRUE);
        g_signal_connect(button, "toggled", G_CALLBACK(onRadioToggled), idData(id));
        previous = button;
    }
}

static GtkWidget* newArrow(const char* icon, int request) {
    GtkWidget* arrow = gtk_button_new_from_icon_name(icon, GTK_ICON_SIZE_MENU);
    gtk_style_context_add_class(gtk_widget_get_style_context(arrow), "arrow");
    gtk_widget_set_can_focus(arrow, FALSE);
    gtk_widget_set_size_request(arrow, kArrowWidthPixels, -1);
    connectRoutes(arrow, kArrowRoutes, idData(request));
    return arrow;
}

// The slider's box holds an arrow at each end and the thumb's track between them.
static void addSlider(GtkFixed* face) {
    // The track's own steps are never taken: every request goes through the scroll rules.
    gDialog.noteCount = gtk_adjustment_new(saverSettings.noteCount, kFewestNotes, kMostNotes,
                                           kUnusedIncrement, kUnusedIncrement, kNoPageSize);
    GtkWidget* track = gtk_scrollbar_new(GTK_ORIENTATION_HORIZONTAL, gDialog.noteCount);
    gtk_widget_set_can_focus(track, FALSE);
    connectRoutes(track, kSliderRoutes, nullptr);
    GtkWidget* slider = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_box_pack_start(GTK_BOX(slider), newArrow("pan-start-symbolic", kScrollLineLeft), FALSE,
                       FALSE, 0);
    gtk_box_pack_start(GTK_BOX(slider), track, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(slider), newArrow("pan-end-symbolic", kScrollLineRight), FALSE,
                       FALSE, 0);
    place(face, slider, kNoteCountSlider);
}

static void applyStyleSheet() {
    GtkCssProvider* style = gtk_css_provider_new();
    gtk_css_provider_load_from_data(style, kStyleSheet, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(style);
    // A press on the slider's trough pages towards the pointer, as on Windows.
    g_object_set(gtk_settings_get_default(), "gtk-primary-button-warps-slider", FALSE, nullptr);
}

static void buildWindow(const DialogFace& face) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gDialog.window = window;
    gtk_widget_set_name(window, kDialogName);
    gtk_window_set_title(GTK_WINDOW(window), kDialogTitle);
    gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_widget_add_events(window, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                      GDK_BUTTON1_MOTION_MASK);
    cutCorners(window);
    connectRoutes(window, kWindowRoutes, nullptr);

    GtkFixed* controls = GTK_FIXED(gtk_fixed_new());
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(controls));
    gtk_fixed_put(controls, newFacePicture(face), 0, 0);
    addPushButton(controls, kOkButton, "OK");
    addPushButton(controls, kCancelButton, "Cancel");
    addRadioGroup(controls, kFirstCurrencyButton, kCurrencyButtons,
                  currencyButtonOf(saverSettings.currencyType));
    addSlider(controls);
    addRadioGroup(controls, kFirstViewAngleButton, kViewAngleButtons,
                  viewAngleButtonOf(saverSettings.viewAngle));
    declineCompositorFrame(window);
}

// Wayland where $WAYLAND_DISPLAY names a compositor, X11 otherwise, or when that compositor cannot
// be reached.
bool openConfigDialogDisplay() {
    g_set_prgname("skyfold");
    const char* compositor = std::getenv("WAYLAND_DISPLAY");
    gdk_set_allowed_backends(compositor && *compositor ? "wayland,x11" : "x11");
    return gtk_init_check(nullptr, nullptr);
}

int runConfigDialog(const DialogFace& face) {
    gDialog.exitStatus = 0;
    loadSettings();
    applyStyleSheet();
    buildWindow(face);
    gtk_widget_show_all(gDialog.window);
    gtk_main();
    return gDialog.exitStatus;
}
