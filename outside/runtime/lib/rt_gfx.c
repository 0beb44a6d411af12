/* The graphics screen: a frame buffer of 640 x 400 colour numbers 0-15
   with a palette, the VIEW port and the WINDOW coordinates, and the
   drawing statements. A window of the runtime's own shows it
   (rt_host_screen); basrun reads rt_screen when the run stops and writes
   it as a PNG (--screen).

   Coordinates reach the routines as singles (one stack word each). Without
   WINDOW they are pixels: from the view's upper left corner, or from the
   screen's with VIEW SCREEN; AXIS 1 counts y upwards from the view's lower
   edge. With WINDOW (x1, y1)-(x2, y2) the view shows that rectangle, y1 at
   the bottom (at the top with WINDOW SCREEN). */
#include "rt.h"

#define GFX_W 640
#define GFX_H 400
#define GFX_COLORS 16

/* What the host reads: `used` is set by the first graphics statement. */
struct RtScreen {
    uint32_t used;
    uint32_t width;
    uint32_t height;
    uint8_t palette[GFX_COLORS][4]; /* red, green, blue, 0 */
    uint8_t *pixels;                /* width x height colour numbers, rows from the top */
};

static uint8_t rt_fb[GFX_W * GFX_H];
struct RtScreen rt_screen = {0, GFX_W, GFX_H, {{0}}, rt_fb};

/* The colours PALETTE n, c chooses from: black, blue, red, magenta, green,
   cyan, yellow, white, then their dark forms with grey and light grey. */
static const uint8_t kBaseColors[GFX_COLORS][3] = {
    {0, 0, 0},     {0, 0, 255},   {255, 0, 0},   {255, 0, 255}, {0, 255, 0},     {0, 255, 255},
    {255, 255, 0}, {255, 255, 255}, {128, 128, 128}, {0, 0, 128}, {128, 0, 0},   {128, 0, 128},
    {0, 128, 0},   {0, 128, 128}, {128, 128, 0}, {192, 192, 192},
};

/* PUT@'s actions, as its action words push them. */
enum { ACT_PSET = 0, ACT_PRESET = 1, ACT_OR = 2, ACT_AND = 3, ACT_XOR = 4 };

static struct {
    int ready;
    int vx1, vy1, vx2, vy2;  /* the view port, inclusive */
    int vscreen;             /* VIEW SCREEN: coordinates from the screen's corner */
    int window, wscreen;     /* WINDOW given; WINDOW SCREEN */
    float wx1, wy1, wx2, wy2;
    int axis;                /* AXIS 1: y counts upwards */
    float lx, ly;            /* the last point referenced */
} g;

static void gfx_cls(int32_t mode);
static void gfx_init(void);
static uint32_t gfx_at;
/* Every routine starts here: its caller names the place of an error. */
#define GFX_ENTER() (gfx_at = RT_CALLER(), gfx_init(), gfx_show())

/* The window shows what was drawn so far: at each graphics statement
   (before it draws) and when the program ends. */
static void gfx_show(void) {
    rt_host_screen(rt_fb, (const uint8_t(*)[4])rt_screen.palette, GFX_W, GFX_H);
}

static void gfx_init(void) {
    if (g.ready) return;
    g.ready = 1;
    rt_cls_hook = gfx_cls;
    g.vx1 = 0;
    g.vy1 = 0;
    g.vx2 = GFX_W - 1;
    g.vy2 = GFX_H - 1;
    for (int k = 0; k < GFX_COLORS; ++k) {
        rt_screen.palette[k][0] = kBaseColors[k][0];
        rt_screen.palette[k][1] = kBaseColors[k][1];
        rt_screen.palette[k][2] = kBaseColors[k][2];
    }
    rt_screen.used = 1;
    rt_screen_hook = gfx_show;
}

/* COLOR's first operand draws (7 until one is given), its second is the
   background (0). */
static int fg(void) { return (rt_colors_given & 1) && rt_colors[0] < GFX_COLORS ? rt_colors[0] : 7; }
static int bg(void) { return (rt_colors_given & 2) && rt_colors[1] < GFX_COLORS ? rt_colors[1] : 0; }

/* Floating helpers without a C library. */
static int gfx_round(float v) {
    float t = v + 0.5f;
    int r = (int)t;
    if ((float)r > t) --r;
    return r;
}
static float gfx_abs(float v) { return v < 0 ? -v : v; }
static double gfx_atan2(double y, double x) {
    double r;
    __asm__("fpatan" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
    return r;
}
static double gfx_sin(double v) {
    double r;
    __asm__("fsin" : "=t"(r) : "0"(v));
    return r;
}
static double gfx_cos(double v) {
    double r;
    __asm__("fcos" : "=t"(r) : "0"(v));
    return r;
}
static float gfx_bits(uint32_t w) {
    union { uint32_t u; float f; } c;
    c.u = w;
    return c.f;
}

#define GFX_PI 3.14159265358979323846

static void check_color(int c, uint32_t addr) {
    if (c < 0 || c >= GFX_COLORS) rt_fail(RT_E_ILLEGAL, addr);
}

/* World point to pixel. */
static float scale_x(void) { return g.window ? (float)(g.vx2 - g.vx1) / (g.wx2 - g.wx1) : 1.0f; }
static float scale_y(void) { return g.window ? (float)(g.vy2 - g.vy1) / (g.wy2 - g.wy1) : 1.0f; }
/* Pixels lie within 16 bits either way, as in the statements' integer
   forms, so no line or circle runs longer than that: overflow otherwise. */
static int pixel(float v) {
    if (!(v >= -32768.0f && v <= 32767.0f)) rt_fail(RT_E_OVERFLOW, gfx_at);
    return gfx_round(v);
}
static int phys_x(float x) {
    if (g.window) return g.vx1 + pixel((x - g.wx1) * scale_x());
    return (g.vscreen ? 0 : g.vx1) + pixel(x);
}
static int phys_y(float y) {
    if (g.window) {
        int d = pixel((y - g.wy1) * scale_y());
        return g.wscreen ? g.vy1 + d : g.vy2 - d;
    }
    if (g.axis) return g.vy2 - pixel(y);
    return (g.vscreen ? 0 : g.vy1) + pixel(y);
}
/* Pixel to world, for POINT(n). */
static float world_x(int px) {
    if (g.window) return g.wx1 + (float)(px - g.vx1) / scale_x();
    return (float)(px - (g.vscreen ? 0 : g.vx1));
}
static float world_y(int py) {
    if (g.window) return g.wscreen ? g.wy1 + (float)(py - g.vy1) / scale_y() : g.wy1 + (float)(g.vy2 - py) / scale_y();
    if (g.axis) return (float)(g.vy2 - py);
    return (float)(py - (g.vscreen ? 0 : g.vy1));
}

/* A point of a statement: STEP makes it relative to the last point. */
static void take_point(uint32_t step, uint32_t xw, uint32_t yw, float *x, float *y) {
    float px = gfx_bits(xw), py = gfx_bits(yw);
    if (step) {
        px += g.lx;
        py += g.ly;
    }
    *x = px; /* x and y may be the last point itself */
    *y = py;
}

static int apply(int old, int c, int action) {
    switch (action) {
    case ACT_PRESET: return ~c & (GFX_COLORS - 1);
    case ACT_OR: return old | c;
    case ACT_AND: return old & c;
    case ACT_XOR: return old ^ c;
    default: return c;
    }
}

/* One pixel, clipped to the view. */
static void plot(int x, int y, int c, int action) {
    if (x < g.vx1 || x > g.vx2 || y < g.vy1 || y > g.vy2) return;
    uint8_t *p = &rt_fb[y * GFX_W + x];
    *p = (uint8_t)apply(*p, c, action);
}

/* A line; pattern bit 15 first, one bit a pixel (0xFFFF solid). `count`
   carries the pattern's position from line to line of a box. */
static void draw_line(int x1, int y1, int x2, int y2, int c, int action, uint16_t pattern, uint32_t *count) {
    int dx = x2 > x1 ? x2 - x1 : x1 - x2, sx = x1 < x2 ? 1 : -1;
    int dy = y2 > y1 ? y1 - y2 : y2 - y1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (pattern & (0x8000u >> (*count & 15))) plot(x1, y1, c, action);
        ++*count;
        if (x1 == x2 && y1 == y2) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y1 += sy;
        }
    }
}

static void fill_box(int x1, int y1, int x2, int y2, int c, int action) {
    if (x1 > x2) { int t = x1; x1 = x2; x2 = t; }
    if (y1 > y2) { int t = y1; y1 = y2; y2 = t; }
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) plot(x, y, c, action);
}

static int color_or(int32_t c, int dflt, uint32_t addr) {
    if (c == -1) return dflt;
    check_color(c, addr);
    return c;
}

/* ---- statements ---------------------------------------------------------- */

void RT_STDCALL rt_pset(uint32_t w, uint32_t step, uint32_t x, uint32_t y, int32_t a, int32_t c, uint32_t cgiven)
    RT_NAME("_$PsPSET@28");
void RT_STDCALL rt_pset(uint32_t w, uint32_t step, uint32_t x, uint32_t y, int32_t a, int32_t c, uint32_t cgiven) {
    (void)w;
    GFX_ENTER();
    if (a < ACT_PSET || a > ACT_XOR) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    int color = cgiven ? color_or(c, fg(), RT_CALLER()) : fg();
    take_point(step, x, y, &g.lx, &g.ly);
    plot(phys_x(g.lx), phys_y(g.ly), color, a);
}

void RT_STDCALL rt_preset(uint32_t w, uint32_t step, uint32_t x, uint32_t y) RT_NAME("_$PsPRESET@16");
void RT_STDCALL rt_preset(uint32_t w, uint32_t step, uint32_t x, uint32_t y) {
    (void)w;
    GFX_ENTER();
    take_point(step, x, y, &g.lx, &g.ly);
    plot(phys_x(g.lx), phys_y(g.ly), bg(), ACT_PSET);
}

/* POINT as a statement: moves the last point. */
void RT_STDCALL rt_point_stmt(uint32_t w, uint32_t step, uint32_t x, uint32_t y) RT_NAME("_$PsPOINT@16");
void RT_STDCALL rt_point_stmt(uint32_t w, uint32_t step, uint32_t x, uint32_t y) {
    (void)w;
    GFX_ENTER();
    take_point(step, x, y, &g.lx, &g.ly);
}

/* LINE: mask bit k when operand k (step1, x1, y1, step2, x2, y2, c, box,
   style, action, fill) was given; box 1 B, 2 BF (its inside in the fill
   colour, its edge in c). */
void RT_STDCALL rt_line(uint32_t w, uint32_t step1, uint32_t x1w, uint32_t y1w, uint32_t step2, uint32_t x2w,
                        uint32_t y2w, int32_t c, int32_t box, int32_t style, int32_t action, int32_t fill,
                        uint32_t mask) RT_NAME("_$PsLINE@52");
void RT_STDCALL rt_line(uint32_t w, uint32_t step1, uint32_t x1w, uint32_t y1w, uint32_t step2, uint32_t x2w,
                        uint32_t y2w, int32_t c, int32_t box, int32_t style, int32_t action, int32_t fill,
                        uint32_t mask) {
    (void)w;
    GFX_ENTER();
    if (action < ACT_PSET || action > ACT_XOR || box < 0 || box > 2) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    float ax = g.lx, ay = g.ly, bx, by;
    if (mask & 2) take_point(step1, x1w, y1w, &ax, &ay);
    /* STEP on the second point counts from the first. */
    g.lx = ax;
    g.ly = ay;
    take_point(step2, x2w, y2w, &bx, &by);
    int color = color_or(c, fg(), RT_CALLER());
    int inside = color_or(fill, color, RT_CALLER());
    uint16_t pattern = (mask & (1u << 8)) ? (uint16_t)style : 0xFFFF;
    int px1 = phys_x(ax), py1 = phys_y(ay), px2 = phys_x(bx), py2 = phys_y(by);
    uint32_t count = 0;
    if (box == 2 && inside != color) {
        fill_box(px1, py1, px2, py2, inside, action);
        box = 1;
        pattern = 0xFFFF;
    }
    if (box == 2) {
        fill_box(px1, py1, px2, py2, color, action);
    } else if (box == 1) {
        draw_line(px1, py1, px2, py1, color, action, pattern, &count);
        if (py2 != py1) draw_line(px2, py1 + (py2 > py1 ? 1 : -1), px2, py2, color, action, pattern, &count);
        if (px2 != px1 && py2 != py1) draw_line(px2 + (px1 > px2 ? 1 : -1), py2, px1, py2, color, action, pattern, &count);
        if (py2 != py1 && py2 + (py1 > py2 ? 1 : -1) != py1)
            draw_line(px1, py2 + (py1 > py2 ? 1 : -1), px1, py1 + (py2 > py1 ? 1 : -1), color, action, pattern, &count);
    } else {
        draw_line(px1, py1, px2, py2, color, action, pattern, &count);
    }
    g.lx = bx;
    g.ly = by;
}

/* CIRCLE: mask bit k when operand k (step, x, y, r, c, start, end,
   aspect) was given. Angles in radians from the positive x axis, counted
   anticlockwise; a negative angle also draws the radius to it. The aspect
   is y radius to x radius; above 1 the radius is the y radius. */
static int in_arc(double a, double s, double e) {
    if (s <= e) return a >= s && a <= e;
    return a >= s || a <= e;
}

void RT_STDCALL rt_circle(uint32_t w, uint32_t step, uint32_t xw, uint32_t yw, uint32_t rw, int32_t c, double start,
                          double end, double aspect, uint32_t mask) RT_NAME("_$PsCIRCLE@52");
void RT_STDCALL rt_circle(uint32_t w, uint32_t step, uint32_t xw, uint32_t yw, uint32_t rw, int32_t c, double start,
                          double end, double aspect, uint32_t mask) {
    (void)w;
    GFX_ENTER();
    float x, y;
    take_point(step, xw, yw, &x, &y);
    g.lx = x;
    g.ly = y;
    int color = color_or(c, fg(), RT_CALLER());
    float r = gfx_bits(rw);
    if (r < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    if (!(mask & (1u << 7))) aspect = 1.0;
    if (aspect <= 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    float rpx = r * gfx_abs(scale_x());
    double rx = rpx, ry = rpx * aspect;
    if (aspect > 1) {
        ry = rpx;
        rx = rpx / aspect;
    }
    int cx = phys_x(x), cy = phys_y(y);
    int irx = pixel((float)rx), iry = pixel((float)ry);
    int arc = (mask & (3u << 5)) != 0;
    double s = (mask & (1u << 5)) ? start : 0, e = (mask & (1u << 6)) ? end : 2 * GFX_PI;
    int sline = s < 0, eline = e < 0;
    if (s < 0) s = -s;
    if (e < 0) e = -e;
    if (s > 2 * GFX_PI || e > 2 * GFX_PI) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    /* Midpoint ellipse, in doubles (the squares pass 32 bits). */
    double a2 = (double)irx * irx, b2 = (double)iry * iry;
    int px = 0, py = iry;
    int region = 1;
    double d = b2 - a2 * iry + 0.25 * a2;
    for (;;) {
        const int qx[4] = {px, -px, -px, px}, qy[4] = {py, py, -py, -py};
        for (int k = 0; k < 4; ++k) {
            if (arc) {
                double ang = gfx_atan2((double)qy[k] * (irx ? irx : 1), (double)qx[k] * (iry ? iry : 1));
                if (ang < 0) ang += 2 * GFX_PI;
                if (!in_arc(ang, s, e)) continue;
            }
            /* Screen y grows downwards: the upper half is cy - y. */
            plot(cx + qx[k], cy - qy[k], color, ACT_PSET);
        }
        if (region == 1) {
            if (b2 * px >= a2 * py) {
                region = 2;
                d = b2 * (px + 0.5) * (px + 0.5) + a2 * (py - 1.0) * (py - 1.0) - a2 * b2;
                continue;
            }
            if (d < 0) {
                d += b2 * (2.0 * px + 3);
            } else {
                d += b2 * (2.0 * px + 3) + a2 * (-2.0 * py + 2);
                --py;
            }
            ++px;
        } else {
            if (py <= 0) break;
            if (d > 0) {
                d += a2 * (-2.0 * py + 3);
            } else {
                d += b2 * (2.0 * px + 2) + a2 * (-2.0 * py + 3);
                ++px;
            }
            --py;
        }
    }
    uint32_t count = 0;
    if (sline)
        draw_line(cx, cy, cx + gfx_round((float)(rx * gfx_cos(s))), cy - gfx_round((float)(ry * gfx_sin(s))), color,
                  ACT_PSET, 0xFFFF, &count);
    if (eline)
        draw_line(cx, cy, cx + gfx_round((float)(rx * gfx_cos(e))), cy - gfx_round((float)(ry * gfx_sin(e))), color,
                  ACT_PSET, 0xFFFF, &count);
}

/* PAINT: block {window, step, x, y, paint, border, mask}. Fills the area
   around the point up to the border colour (the paint colour when none
   is given), inside the view. */
void RT_STDCALL rt_paint(const uint32_t *blk) RT_NAME("_$PsPAINT@4");
void RT_STDCALL rt_paint(const uint32_t *blk) {
    GFX_ENTER();
    float x, y;
    take_point(blk[1], blk[2], blk[3], &x, &y);
    g.lx = x;
    g.ly = y;
    int paint = color_or((int32_t)blk[4], fg(), RT_CALLER());
    int border = color_or((int32_t)blk[5], paint, RT_CALLER());
    int sx = phys_x(x), sy = phys_y(y);
    if (sx < g.vx1 || sx > g.vx2 || sy < g.vy1 || sy > g.vy2) return;
    /* A stack of seeds. A painted span seeds at most one run a pixel above
       and below it, and each pixel is painted once: two seeds a pixel at
       the most. */
    static uint32_t *stack;
    if (!stack) stack = rt_alloc(2 * GFX_W * GFX_H * sizeof(uint32_t));
    uint32_t n = 0;
    stack[n++] = (uint32_t)(sy * GFX_W + sx);
#define PAINTABLE(px, py) (rt_fb[(py) * GFX_W + (px)] != border && rt_fb[(py) * GFX_W + (px)] != paint)
    while (n) {
        uint32_t at = stack[--n];
        int px = (int)(at % GFX_W), py = (int)(at / GFX_W);
        if (!PAINTABLE(px, py)) continue;
        int l = px, r = px;
        while (l > g.vx1 && PAINTABLE(l - 1, py)) --l;
        while (r < g.vx2 && PAINTABLE(r + 1, py)) ++r;
        for (int k = l; k <= r; ++k) rt_fb[py * GFX_W + k] = (uint8_t)paint;
        for (int dy = -1; dy <= 1; dy += 2) {
            int ny = py + dy;
            if (ny < g.vy1 || ny > g.vy2) continue;
            int open = 0;
            for (int k = l; k <= r; ++k) {
                if (PAINTABLE(k, ny)) {
                    if (!open) stack[n++] = (uint32_t)(ny * GFX_W + k);
                    open = 1;
                } else {
                    open = 0;
                }
            }
        }
    }
#undef PAINTABLE
}

/* CONNECT: block {window, c, c given, n, then n points (step, x, y)}. */
void RT_STDCALL rt_connect(const uint32_t *blk) RT_NAME("_$PsCONNECT@4");
void RT_STDCALL rt_connect(const uint32_t *blk) {
    GFX_ENTER();
    int color = blk[2] ? color_or((int32_t)blk[1], fg(), RT_CALLER()) : fg();
    uint32_t n = blk[3];
    const uint32_t *p = blk + 4;
    uint32_t count = 0;
    int ox = 0, oy = 0;
    for (uint32_t k = 0; k < n; ++k, p += 3) {
        take_point(p[0], p[1], p[2], &g.lx, &g.ly);
        int nx = phys_x(g.lx), ny = phys_y(g.ly);
        if (k > 0) draw_line(ox, oy, nx, ny, color, ACT_PSET, 0xFFFF, &count);
        ox = nx;
        oy = ny;
    }
}

/* AXIS a: 1 counts y upwards from the view's lower edge, 0 downwards. */
void RT_STDCALL rt_axis(uint32_t w, int32_t a) RT_NAME("_$PsAXIS@8");
void RT_STDCALL rt_axis(uint32_t w, int32_t a) {
    (void)w;
    GFX_ENTER();
    if (a < 0 || a > 1) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    g.axis = a;
}

/* PALETTE n, c: entry n shows colour c of the base colours; PALETTE n, r,
   g, b: that colour. */
void RT_STDCALL rt_palette(uint32_t w, int32_t n, int32_t c) RT_NAME("_$PsPALETTE@12");
void RT_STDCALL rt_palette(uint32_t w, int32_t n, int32_t c) {
    (void)w;
    GFX_ENTER();
    check_color(n, RT_CALLER());
    check_color(c, RT_CALLER());
    for (int k = 0; k < 3; ++k) rt_screen.palette[n][k] = kBaseColors[c][k];
}

void RT_STDCALL rt_palette_rgb(uint32_t w, int32_t n, int32_t r, int32_t gr, int32_t b)
    RT_NAME("_$PsPALETTE_RGB@20");
void RT_STDCALL rt_palette_rgb(uint32_t w, int32_t n, int32_t r, int32_t gr, int32_t b) {
    (void)w;
    GFX_ENTER();
    check_color(n, RT_CALLER());
    const int32_t v[3] = {r, gr, b};
    for (int k = 0; k < 3; ++k) {
        if (v[k] < 0 || v[k] > 255) rt_fail(RT_E_ILLEGAL, RT_CALLER());
        rt_screen.palette[n][k] = (uint8_t)v[k];
    }
}

/* VIEW [SCREEN] (x1, y1)-(x2, y2) [, f [, b]]: the port, filled with f and
   framed in b when they are not 0; VIEW alone: the whole screen. */
void RT_STDCALL rt_view(uint32_t w) RT_NAME("_$PsVIEW@4");
void RT_STDCALL rt_view(uint32_t w) {
    (void)w;
    GFX_ENTER();
    g.vx1 = g.vy1 = 0;
    g.vx2 = GFX_W - 1;
    g.vy2 = GFX_H - 1;
    g.vscreen = 0;
}

void RT_STDCALL rt_view1(uint32_t w, int32_t screen, uint32_t x1w, uint32_t y1w, uint32_t x2w, uint32_t y2w, int32_t f,
                         int32_t b) RT_NAME("_$PsVIEW1@32");
void RT_STDCALL rt_view1(uint32_t w, int32_t screen, uint32_t x1w, uint32_t y1w, uint32_t x2w, uint32_t y2w, int32_t f,
                         int32_t b) {
    (void)w;
    GFX_ENTER();
    int x1 = gfx_round(gfx_bits(x1w)), y1 = gfx_round(gfx_bits(y1w));
    int x2 = gfx_round(gfx_bits(x2w)), y2 = gfx_round(gfx_bits(y2w));
    if (x1 > x2) { int t = x1; x1 = x2; x2 = t; }
    if (y1 > y2) { int t = y1; y1 = y2; y2 = t; }
    if (x1 < 0 || y1 < 0 || x2 >= GFX_W || y2 >= GFX_H) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    check_color(f, RT_CALLER());
    check_color(b, RT_CALLER());
    if (b) {
        /* The frame lies just outside the port, where the screen has room. */
        g.vx1 = 0, g.vy1 = 0, g.vx2 = GFX_W - 1, g.vy2 = GFX_H - 1;
        uint32_t count = 0;
        int l = x1 > 0 ? x1 - 1 : x1, t = y1 > 0 ? y1 - 1 : y1;
        int r = x2 < GFX_W - 1 ? x2 + 1 : x2, bt = y2 < GFX_H - 1 ? y2 + 1 : y2;
        draw_line(l, t, r, t, b, ACT_PSET, 0xFFFF, &count);
        draw_line(r, t, r, bt, b, ACT_PSET, 0xFFFF, &count);
        draw_line(r, bt, l, bt, b, ACT_PSET, 0xFFFF, &count);
        draw_line(l, bt, l, t, b, ACT_PSET, 0xFFFF, &count);
    }
    g.vx1 = x1;
    g.vy1 = y1;
    g.vx2 = x2;
    g.vy2 = y2;
    g.vscreen = screen != 0;
    if (f) fill_box(x1, y1, x2, y2, f, ACT_PSET);
}

/* WINDOW [SCREEN] (x1, y1)-(x2, y2); WINDOW alone: pixels again. */
void RT_STDCALL rt_window(uint32_t w) RT_NAME("_$PsWINDOW@4");
void RT_STDCALL rt_window(uint32_t w) {
    (void)w;
    GFX_ENTER();
    g.window = 0;
}

void RT_STDCALL rt_window1(uint32_t w, int32_t screen, uint32_t x1w, uint32_t y1w, uint32_t x2w, uint32_t y2w,
                           uint32_t reserved) RT_NAME("_$PsWINDOW1@28");
void RT_STDCALL rt_window1(uint32_t w, int32_t screen, uint32_t x1w, uint32_t y1w, uint32_t x2w, uint32_t y2w,
                           uint32_t reserved) {
    (void)w;
    (void)reserved;
    GFX_ENTER();
    float x1 = gfx_bits(x1w), y1 = gfx_bits(y1w), x2 = gfx_bits(x2w), y2 = gfx_bits(y2w);
    if (x1 == x2 || y1 == y2) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    if (x1 > x2) { float t = x1; x1 = x2; x2 = t; }
    if (y1 > y2) { float t = y1; y1 = y2; y2 = t; }
    g.window = 1;
    g.wscreen = screen != 0;
    g.wx1 = x1;
    g.wy1 = y1;
    g.wx2 = x2;
    g.wy2 = y2;
}

/* COLOR@ (x1, y1)-(x2, y2) [, c] colours characters of the text screen,
   which the console stream does not have: only its colour is checked. */
void RT_STDCALL rt_color_at(uint32_t w, uint32_t s1, uint32_t x1, uint32_t y1, uint32_t s2, uint32_t x2, uint32_t y2,
                            int32_t c) RT_NAME("_$PsCOLOR40@32");
void RT_STDCALL rt_color_at(uint32_t w, uint32_t s1, uint32_t x1, uint32_t y1, uint32_t s2, uint32_t x2, uint32_t y2,
                            int32_t c) {
    (void)w, (void)s1, (void)x1, (void)y1, (void)s2, (void)x2, (void)y2;
    if (c < 0 || c > 255) rt_fail(RT_E_ILLEGAL, RT_CALLER());
}

/* ---- GET@ and PUT@ --------------------------------------------------------
   The array holds the width and the height as two 16-bit words, then the
   colour numbers row by row, a byte each. */

static uint32_t array_bytes(const uint8_t *ctl, uint8_t **data, uint32_t addr) {
    static const uint8_t kSize[5] = {2, 4, 4, 8, 1};
    if (!ctl || !ctl[0]) rt_fail(RT_E_SUBSCRIPT, addr);
    uint8_t type = ctl[1];
    if (type > 4) rt_fail(RT_E_TYPE, addr);
    uint32_t storage, bounds;
    memcpy(&storage, ctl + 2, 4);
    memcpy(&bounds, ctl + 6, 4);
    const uint8_t *b = (const uint8_t *)bounds;
    uint32_t n = 1;
    for (uint32_t k = 0; k < b[0]; ++k) {
        uint32_t ub;
        memcpy(&ub, b + 1 + 4 * k, 4);
        n *= ub + 1;
    }
    *data = (uint8_t *)storage;
    return n * kSize[type];
}

static void order(int *a, int *b) {
    if (*a > *b) { int t = *a; *a = *b; *b = t; }
}

void RT_STDCALL rt_get_at(uint32_t w, uint32_t x1w, uint32_t y1w, uint32_t x2w, uint32_t y2w, const uint8_t *ctl,
                          uint32_t steps) RT_NAME("_$PsGET40G@28");
void RT_STDCALL rt_get_at(uint32_t w, uint32_t x1w, uint32_t y1w, uint32_t x2w, uint32_t y2w, const uint8_t *ctl,
                          uint32_t steps) {
    (void)w;
    GFX_ENTER();
    float ax, ay, bx, by;
    take_point(steps & 1, x1w, y1w, &ax, &ay);
    g.lx = ax;
    g.ly = ay;
    take_point(steps & 2, x2w, y2w, &bx, &by);
    g.lx = bx;
    g.ly = by;
    int x1 = phys_x(ax), y1 = phys_y(ay), x2 = phys_x(bx), y2 = phys_y(by);
    order(&x1, &x2);
    order(&y1, &y2);
    if (x1 < 0 || y1 < 0 || x2 >= GFX_W || y2 >= GFX_H) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    uint8_t *data;
    uint32_t room = array_bytes(ctl, &data, RT_CALLER());
    uint32_t wd = (uint32_t)(x2 - x1 + 1), ht = (uint32_t)(y2 - y1 + 1);
    if (4 + wd * ht > room) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    uint16_t hdr[2] = {(uint16_t)wd, (uint16_t)ht};
    memcpy(data, hdr, 4);
    for (uint32_t r = 0; r < ht; ++r) memcpy(data + 4 + r * wd, &rt_fb[(y1 + (int)r) * GFX_W + x1], wd);
}

/* PUT@ (x, y), array [, action] [, c]: the upper left corner at the point;
   with c, every stored colour that is not 0 is c. Clipped to the view. */
void RT_STDCALL rt_put_at(uint32_t w, uint32_t step, uint32_t xw, uint32_t yw, const uint8_t *ctl, int32_t action,
                          int32_t c, uint32_t cgiven) RT_NAME("_$PsPUT40G@32");
void RT_STDCALL rt_put_at(uint32_t w, uint32_t step, uint32_t xw, uint32_t yw, const uint8_t *ctl, int32_t action,
                          int32_t c, uint32_t cgiven) {
    (void)w;
    GFX_ENTER();
    if (action < ACT_PSET || action > ACT_XOR) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    if (cgiven) check_color(c, RT_CALLER());
    float x, y;
    take_point(step, xw, yw, &x, &y);
    g.lx = x;
    g.ly = y;
    uint8_t *data;
    uint32_t room = array_bytes(ctl, &data, RT_CALLER());
    uint16_t hdr[2];
    memcpy(hdr, data, 4);
    if (room < 4 || 4 + (uint32_t)hdr[0] * hdr[1] > room) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    int px = phys_x(x), py = phys_y(y);
    for (int r = 0; r < hdr[1]; ++r)
        for (int k = 0; k < hdr[0]; ++k) {
            int v = data[4 + r * hdr[0] + k] & (GFX_COLORS - 1);
            if (cgiven && v) v = c;
            plot(px + k, py + r, v, action);
        }
}

/* ---- SYMBOL ----------------------------------------------------------------
   Text drawn with a 5 x 7 font in cells of 6 x 8, each dot h x v pixels.
   Lower-case letters take the upper-case shapes; a character the font does
   not have is drawn as a frame. */

static const struct {
    char ch;
    uint8_t rows[7]; /* bit 4 the leftmost dot */
} kFont[] = {
    {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},
    {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}},
    {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}},
    {'*', {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}},
    {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
    {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'=', {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}},
    {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
};

static const uint8_t *glyph(uint8_t ch) {
    static const uint8_t kFrame[7] = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F};
    if (ch >= 'a' && ch <= 'z') ch = (uint8_t)(ch - 32);
    for (uint32_t k = 0; k < sizeof kFont / sizeof kFont[0]; ++k)
        if ((uint8_t)kFont[k].ch == ch) return kFont[k].rows;
    return kFrame;
}

/* SYMBOL [STEP](x, y), s$ [, h [, v [, c [, a [, angle]]]]]: mask bit k
   when word k (step, x, y, h, v, c, a, angle) was given. The angle turns
   the text by 0, 1, 2 or 3 quarters anticlockwise. */
void RT_STDCALL rt_symbol(uint32_t w, uint32_t step, uint32_t xw, uint32_t yw, int32_t h, int32_t v, int32_t c,
                          int32_t a, int32_t angle, uint32_t mask) RT_NAME("_$PsSYMBOL40@40");
void RT_STDCALL rt_symbol(uint32_t w, uint32_t step, uint32_t xw, uint32_t yw, int32_t h, int32_t v, int32_t c,
                          int32_t a, int32_t angle, uint32_t mask) {
    (void)w;
    RtStr s = rt_spop();
    GFX_ENTER();
    if (!(mask & 8)) h = 1;
    if (!(mask & 16)) v = 1;
    if (!(mask & 128)) angle = 0;
    int color = (mask & 32) ? c : fg();
    if (h < 1 || v < 1 || h > 255 || v > 255 || a < ACT_PSET || a > ACT_XOR || angle < 0 || angle > 3 ||
        color < 0 || color >= GFX_COLORS) {
        rt_sfree(s);
        rt_fail(RT_E_ILLEGAL, RT_CALLER());
    }
    float x, y;
    take_point(step, xw, yw, &x, &y);
    g.lx = x;
    g.ly = y;
    const int ox = phys_x(x), oy = phys_y(y);
    /* Unit steps along the text and down its lines, by the angle. */
    static const int kAlong[4][2] = {{1, 0}, {0, -1}, {-1, 0}, {0, 1}};
    static const int kDown[4][2] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
    const int *al = kAlong[angle], *dn = kDown[angle];
    for (uint32_t i = 0; i < s.len; ++i) {
        const uint8_t *rows = glyph((uint8_t)s.p[i]);
        for (int r = 0; r < 7; ++r)
            for (int col = 0; col < 5; ++col) {
                if (!(rows[r] & (0x10 >> col))) continue;
                for (int dy = 0; dy < v; ++dy)
                    for (int dx = 0; dx < h; ++dx) {
                        int u = (int)i * 6 * h + col * h + dx, d = r * v + dy;
                        plot(ox + u * al[0] + d * dn[0], oy + u * al[1] + d * dn[1], color, a);
                    }
            }
    }
    rt_sfree(s);
}

/* ---- functions ------------------------------------------------------------ */

/* The functions run inside expressions, where the caller may hold values
   on the x87 stack: each runs on a saved and reset unit, and a floating
   result comes back on the caller's stack. */
#define GFX_INT_FN(name, cfunc, n)                                                                    \
    __asm__(".globl \"" name "\"\n\"" name "\":\n\tsubl $108, %esp\n\tfnsave (%esp)\n"            \
            ".rept " #n "\n\tpushl (108 + 4 * " #n ")(%esp)\n.endr\n\tcall _" cfunc "\n"             \
            "\taddl $(4 * " #n "), %esp\n\tfrstor (%esp)\n\taddl $108, %esp\n\tret $(4 * " #n ")\n")
#define GFX_FLOAT_FN(name, cfunc, n)                                                                  \
    __asm__(".globl \"" name "\"\n\"" name "\":\n\tsubl $108, %esp\n\tfnsave (%esp)\n"            \
            ".rept " #n "\n\tpushl (108 + 4 * " #n ")(%esp)\n.endr\n\tcall _" cfunc "\n"             \
            "\taddl $(4 * " #n "), %esp\n\tsubl $8, %esp\n\tfstpl (%esp)\n\tfrstor 8(%esp)\n"        \
            "\tfldl (%esp)\n\taddl $116, %esp\n\tret $(4 * " #n ")\n")

/* POINT(x, y): the colour at the point, -1 outside the view; the STEP
   word is always 0 from a function. */
int32_t rt_point_fn(uint32_t w, uint32_t step, uint32_t xw, uint32_t yw);
GFX_INT_FN("_$PfPOINT1@16", "rt_point_fn", 4);
int32_t rt_point_fn(uint32_t w, uint32_t step, uint32_t xw, uint32_t yw) {
    (void)w;
    GFX_ENTER();
    float fx, fy;
    take_point(step, xw, yw, &fx, &fy);
    int x = phys_x(fx), y = phys_y(fy);
    if (x < g.vx1 || x > g.vx2 || y < g.vy1 || y > g.vy2) return -1;
    return rt_fb[y * GFX_W + x];
}

/* POINT(n): the last point, 0 and 1 in pixels, 2 and 3 in WINDOW's
   coordinates. */
float rt_point_n(uint32_t w, int32_t n);
GFX_FLOAT_FN("_$PfPOINT2@8", "rt_point_n", 2);
float rt_point_n(uint32_t w, int32_t n) {
    (void)w;
    GFX_ENTER();
    int px = phys_x(g.lx), py = phys_y(g.ly);
    switch (n) {
    case 0: return (float)px;
    case 1: return (float)py;
    case 2: return world_x(px);
    case 3: return world_y(py);
    default: rt_fail(RT_E_ILLEGAL, RT_CALLER());
    }
}

/* MAP(v, n): a WINDOW coordinate to a pixel, x (n = 0) or y (1), and a
   pixel back to a WINDOW coordinate, x (2) or y (3). */
float rt_map_fn(uint32_t w, uint32_t vw, int32_t n);
GFX_FLOAT_FN("_$PfMAP@12", "rt_map_fn", 3);
float rt_map_fn(uint32_t w, uint32_t vw, int32_t n) {
    (void)w;
    GFX_ENTER();
    float v = gfx_bits(vw);
    switch (n) {
    case 0: return (float)phys_x(v);
    case 1: return (float)phys_y(v);
    case 2: return world_x(pixel(v));
    case 3: return world_y(pixel(v));
    default: rt_fail(RT_E_ILLEGAL, RT_CALLER());
    }
}

/* VIEW(n), WINDOW(n): the port's x1, y1, x2, y2 (n = 0 .. 3). */
int32_t rt_view_fn(uint32_t w, int32_t n);
GFX_INT_FN("_$PfVIEW@8", "rt_view_fn", 2);
int32_t rt_view_fn(uint32_t w, int32_t n) {
    (void)w;
    GFX_ENTER();
    switch (n) {
    case 0: return g.vx1;
    case 1: return g.vy1;
    case 2: return g.vx2;
    case 3: return g.vy2;
    default: rt_fail(RT_E_ILLEGAL, RT_CALLER());
    }
}

float rt_window_fn(uint32_t w, int32_t n);
GFX_FLOAT_FN("_$PfWINDOW@8", "rt_window_fn", 2);
float rt_window_fn(uint32_t w, int32_t n) {
    (void)w;
    GFX_ENTER();
    if (n < 0 || n > 3) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    if (!g.window) return (float)(n == 0 ? 0 : n == 1 ? 0 : n == 2 ? g.vx2 - g.vx1 : g.vy2 - g.vy1);
    return n == 0 ? g.wx1 : n == 1 ? g.wy1 : n == 2 ? g.wx2 : g.wy2;
}

/* ---- CLS ------------------------------------------------------------------ */

/* CLS 2 and CLS 3 clear the view to the background colour. */
static void gfx_cls(int32_t mode) {
    if (mode != 2 && mode != 3) return;
    fill_box(g.vx1, g.vy1, g.vx2, g.vy2, bg(), ACT_PSET);
}
