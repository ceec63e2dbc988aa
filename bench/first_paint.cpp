// SPDX-License-Identifier: MIT
// Starts a program on the X display and measures how long it takes until a
// window of its own with a given title is mapped and painted with text in a
// given box. Then, after a pause that lets the program's background work end,
// reads the program's peak resident memory and ends it. Prints one line:
//   ms=<start to first paint> hwm_kib=<VmHWM>
//
// usage: first_paint [--title TEXT] [--box X,Y,W,H/CX,CY] [--settle MS]
//                    [--timeout MS] [--verbose] -- PROGRAM [ARGS...]
//
// --box names the part of the window that must hold text, in the units of a
// window of CX by CY (the window template's dialog units); by default the
// whole window must. The detection is the same for every program measured:
// the X server tells this process about new windows, maps and drawing
// (Damage), and the pixels are read back from the server.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Options
{
    std::string title;
    // The box in template units, and the template's size.
    double boxX = 0, boxY = 0, boxW = 1, boxH = 1, unitsX = 1, unitsY = 1;
    int settleMs = 1000;
    int timeoutMs = 30000;
    bool verbose = false;
    std::vector<char*> command;
};

[[noreturn]] void Usage()
{
    std::fprintf(stderr,
        "usage: first_paint [--title TEXT] [--box X,Y,W,H/CX,CY] [--settle MS] [--timeout MS] [--verbose] -- "
        "PROGRAM [ARGS...]\n");
    std::exit(2);
}

Options ParseOptions(int argc, char** argv)
{
    Options o;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--verbose") {
            o.verbose = true;
            continue;
        }
        if (i + 1 == argc)
            Usage();
        const char* value = argv[++i];
        if (arg == "--title")
            o.title = value;
        else if (arg == "--settle")
            o.settleMs = std::atoi(value);
        else if (arg == "--timeout")
            o.timeoutMs = std::atoi(value);
        else if (arg == "--box") {
            if (std::sscanf(
                    value, "%lf,%lf,%lf,%lf/%lf,%lf", &o.boxX, &o.boxY, &o.boxW, &o.boxH, &o.unitsX, &o.unitsY) != 6)
                Usage();
        } else
            Usage();
    }
    for (++i; i < argc; ++i)
        o.command.push_back(argv[i]);
    if (o.command.empty())
        Usage();
    o.command.push_back(nullptr);
    return o;
}

// Windows come and go while they are looked at; a request about one that has
// gone is not an error here.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

std::optional<std::string> WindowTitle(Display* display, Window window)
{
    for (const Atom name : {XInternAtom(display, "_NET_WM_NAME", False), XA_WM_NAME}) {
        Atom actual = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, name, 0, 1024, False, AnyPropertyType, &actual, &format, &count, &after,
                &data) == Success &&
            actual != None) {
            std::string title(reinterpret_cast<char*>(data), count);
            XFree(data);
            return title;
        }
    }
    return std::nullopt;
}

std::optional<pid_t> WindowPid(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(
            display, window, pidAtom, 0, 1, False, XA_CARDINAL, &actual, &format, &count, &after, &data) != Success ||
        actual != XA_CARDINAL || count != 1) {
        return std::nullopt;
    }
    const auto pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    XFree(data);
    return pid;
}

// True when the box of `window` shows text: mostly light pixels (a painted
// background, not the black of the bare screen) with some dark ones (glyphs).
bool BoxShowsText(Display* display, Window window, const Options& o)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    const double sx = attributes.width / o.unitsX;
    const double sy = attributes.height / o.unitsY;
    const int x = static_cast<int>(o.boxX * sx);
    const int y = static_cast<int>(o.boxY * sy);
    const int w = std::min(static_cast<int>(o.boxW * sx), attributes.width - x);
    const int h = std::min(static_cast<int>(o.boxH * sy), attributes.height - y);
    if (w <= 0 || h <= 0)
        return false;
    XImage* image =
        XGetImage(display, window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
    if (!image)
        return false;
    long light = 0, dark = 0;
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const unsigned long pixel = XGetPixel(image, col, row);
            const unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            const unsigned brightest = std::max({r, g, b});
            if (std::min({r, g, b}) >= 0xC0)
                ++light;
            else if (brightest < 0x80)
                ++dark;
        }
    }
    XDestroyImage(image);
    return light * 10 >= static_cast<long>(w) * h * 6 && dark >= 40;
}

long PeakResidentKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

void EndProgram(pid_t pid)
{
    ::kill(-pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(-pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
}

} // namespace

int main(int argc, char** argv)
{
    const Options o = ParseOptions(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_paint: cannot open the display\n");
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "first_paint: the X server has no Damage extension\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        ::execvp(o.command[0], o.command.data());
        std::perror("first_paint: exec");
        ::_exit(127);
    }
    if (pid < 0) {
        std::perror("first_paint: fork");
        return 2;
    }

    std::map<Window, Damage> damages;
    std::optional<Window> target;
    std::optional<Clock::time_point> painted;
    const auto deadline = start + std::chrono::milliseconds(o.timeoutMs);
    const int fd = ConnectionNumber(display);
    while (!painted && Clock::now() < deadline) {
        if (!XPending(display)) {
            pollfd p{fd, POLLIN, 0};
            ::poll(&p, 1, 50);
            if (::waitpid(pid, nullptr, WNOHANG) == pid) {
                std::fprintf(stderr, "first_paint: the program ended before its window was painted\n");
                return 1;
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
            const Window w = event.xcreatewindow.window;
            damages[w] = XDamageCreate(display, w, XDamageReportNonEmpty);
        } else if (event.type == MapNotify && event.xmap.event == root) {
            const Window w = event.xmap.window;
            const auto title = WindowTitle(display, w);
            const auto owner = WindowPid(display, w);
            if (o.verbose)
                std::fprintf(stderr, "map 0x%lx pid %d title \"%s\" at %.1f ms\n", w, owner ? *owner : -1,
                    title ? title->c_str() : "(none)",
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            if (!target && owner == pid && title == o.title) {
                target = w;
                // Drawn before the damage was being watched, or already now.
                if (BoxShowsText(display, w, o))
                    painted = Clock::now();
            }
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
            XDamageSubtract(display, notify.damage, None, None);
            if (target && notify.drawable == *target) {
                const bool text = BoxShowsText(display, *target, o);
                if (o.verbose)
                    std::fprintf(stderr, "drawn 0x%lx, %s, at %.1f ms\n", notify.drawable,
                        text ? "text in the box" : "no text in the box",
                        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                if (text)
                    painted = Clock::now();
            }
        }
    }
    if (!painted) {
        std::fprintf(stderr, "first_paint: no window \"%s\" with text appeared\n", o.title.c_str());
        EndProgram(pid);
        return 1;
    }
    const double ms = std::chrono::duration<double, std::milli>(*painted - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(o.settleMs));
    const long hwm = PeakResidentKib(pid);
    EndProgram(pid);
    std::printf("ms=%.2f hwm_kib=%ld\n", ms, hwm);
    return 0;
}
