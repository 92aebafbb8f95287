// The views' rectangles: monitors cut to the window, those inside an earlier one dropped, and the
// window's gaps found on the grid that the views' edges make.
#include "scene/view_layout.h"

#include <algorithm>

static PixelRect cutToWindow(const PixelRect& monitor, int32_t windowWidth, int32_t windowHeight) {
    const int64_t left = std::max<int64_t>(monitor.x, 0);
    const int64_t top = std::max<int64_t>(monitor.y, 0);
    const int64_t right = std::min<int64_t>(int64_t{monitor.x} + monitor.width, windowWidth);
    const int64_t bottom = std::min<int64_t>(int64_t{monitor.y} + monitor.height, windowHeight);
    if (right <= left || bottom <= top) return PixelRect{0, 0, 0, 0};
    return PixelRect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                     static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
}

static bool inside(const PixelRect& inner, const PixelRect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

static bool intersect(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

static bool anyTwoIntersect(const PixelRect* views, int count) {
    for (int i = 0; i < count; ++i) {
        for (int k = i + 1; k < count; ++k) {
            if (intersect(views[i], views[k])) return true;
        }
    }
    return false;
}

static bool covers(const PixelRect* views, int count, int32_t x, int32_t y) {
    for (int i = 0; i < count; ++i) {
        const PixelRect& view = views[i];
        if (x >= view.x && x < view.x + view.width && y >= view.y && y < view.y + view.height) {
            return true;
        }
    }
    return false;
}

// Every cell of the grid that the views' edges cut the window into lies wholly in a view or
// wholly outside all of them, so one pixel of each cell tells.
static bool leavesGaps(const PixelRect* views, int count, int32_t windowWidth,
                       int32_t windowHeight) {
    const int kMostEdges = 2 * kMostWindowViews + 1;
    int32_t columns[kMostEdges] = {0}, rows[kMostEdges] = {0};  // the window's own edge first
    for (int i = 0; i < count; ++i) {
        columns[1 + 2 * i] = views[i].x;
        columns[2 + 2 * i] = views[i].x + views[i].width;
        rows[1 + 2 * i] = views[i].y;
        rows[2 + 2 * i] = views[i].y + views[i].height;
    }
    const int edges = 1 + 2 * count;
    for (int column = 0; column < edges; ++column) {
        for (int row = 0; row < edges; ++row) {
            const int32_t x = columns[column], y = rows[row];
            if (x < windowWidth && y < windowHeight && !covers(views, count, x, y)) return true;
        }
    }
    return false;
}

ViewLayout layOutViews(const PixelRect* monitors, int monitorCount, int32_t windowWidth,
                       int32_t windowHeight) {
    ViewLayout layout = {};
    PixelRect kept[kMostWindowViews];
    for (int i = 0; i < monitorCount && layout.count < kMostWindowViews; ++i) {
        const PixelRect part = cutToWindow(monitors[i], windowWidth, windowHeight);
        if (part.width == 0) continue;
        bool shownAlready = false;
        for (int k = 0; k < layout.count; ++k) shownAlready = shownAlready || inside(part, kept[k]);
        if (!shownAlready) kept[layout.count++] = part;
    }
    if (layout.count == 0) kept[layout.count++] = PixelRect{0, 0, windowWidth, windowHeight};
    for (int i = 0; i < layout.count; ++i) {
        layout.views[i] = kept[i];
        layout.views[i].y = windowHeight - (kept[i].y + kept[i].height);
    }
    layout.fillsWindow = layout.count == 1 && kept[0].x == 0 && kept[0].y == 0 &&
                         kept[0].width == windowWidth && kept[0].height == windowHeight;
    layout.leavesGaps = leavesGaps(kept, layout.count, windowWidth, windowHeight);
    layout.overlaps = anyTwoIntersect(kept, layout.count);
    return layout;
}
